// The paper dialog over a worksheet window.
#include <gtest/gtest.h>

#include <QTimer>
#include <memory>

#include "FakeHost.h"
#include "Sjis.h"
#include "TfrmPrint.h"
#include "TfrmSetPaper.h"

namespace sulkan {
namespace {

using test::FakeHost;

class SetPaperTest : public ::testing::Test {
protected:
    SetPaperTest() {
        Worksheet ws;
        ws.params = LayoutParams{};
        ws.params.SheetOptions = 5;
        ws.content.questionLines = {sjis("（１）#やま#に登る")};
        sheet = std::make_unique<TfrmPrint>(host, std::move(ws));
    }

    int options() const { return sheet->worksheet().params.SheetOptions; }

    FakeHost host;
    std::unique_ptr<TfrmPrint> sheet;
    TfrmSetPaper dialog{host};
};

TEST_F(SetPaperTest, OptionsComeFromTheWorksheetAndGoBackAsTheirSum) {
    dialog.show();
    dialog.FormShow(sheet.get());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("用紙設定"));
    EXPECT_TRUE(dialog.chkClassFlag->isChecked());
    EXPECT_FALSE(dialog.chkJisshibi->isChecked());
    EXPECT_TRUE(dialog.chkPrinted->isChecked());
    EXPECT_TRUE(dialog.rdbA4->isChecked() && dialog.rdbA4->isEnabled());
    for (QRadioButton* r : {dialog.rdbB5, dialog.rdbB4, dialog.rdbA3}) EXPECT_FALSE(r->isEnabled());

    dialog.chkClassFlag->click();
    dialog.chkJisshibi->click();
    const qint64 image = sheet->sheetImage().cacheKey();
    dialog.btnOk->click();
    EXPECT_EQ(options(), 6);
    EXPECT_TRUE(sheet->worksheet().modified);
    EXPECT_EQ(host.paperChoices, (std::vector<int>{630}));
    EXPECT_NE(sheet->sheetImage().cacheKey(), image);  // redrawn
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(SetPaperTest, CancelChangesNothing) {
    dialog.show();
    dialog.FormShow(sheet.get());
    dialog.chkJisshibi->click();
    dialog.btnCancel->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(options(), 5);
    EXPECT_FALSE(sheet->worksheet().modified);
    EXPECT_TRUE(host.paperChoices.empty());
}

TEST_F(SetPaperTest, OkWithoutAWorksheetLeavesTheDialogOpen) {
    dialog.show();
    dialog.FormShow(nullptr);
    dialog.btnOk->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(host.paperChoices.empty());
    // A window closed while the dialog is open is no worksheet either.
    dialog.FormShow(sheet.get());
    sheet.reset();
    dialog.btnOk->click();
    EXPECT_TRUE(dialog.isVisible());
    dialog.btnCancel->click();
}

TEST_F(SetPaperTest, ShowForRunsTheDialogModally) {
    QTimer::singleShot(0, &dialog, [this] { dialog.btnOk->click(); });
    EXPECT_EQ(dialog.showFor(sheet.get()), QDialog::Accepted);
    EXPECT_EQ(host.paperChoices.size(), 1u);
}

}  // namespace
}  // namespace sulkan
