// The layout settings dialog over a worksheet window: opening, the change and style rules, the
// answer face, the keyboard and filling on activation.
#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "SetteiHost.h"
#include "Sjis.h"
#include "TfrmPrint.h"
#include "TfrmSettei.h"

namespace sulkan {
namespace {

class SetteiTest : public ::testing::Test {
protected:
    SetteiTest() {
        Worksheet ws;
        ws.params.SheetOptions = 0;
        ws.content.questionLines = {sjis("（１）#やま#に登る")};
        sheet = std::make_unique<TfrmPrint>(host, std::move(ws));
        dialog = std::make_unique<TfrmSettei>(host, std::vector<std::string>{gyosho});
    }

    LayoutParams& params() { return sheet->worksheet().params; }
    bool modified() const { return sheet->worksheet().modified; }
    qint64 imageKey() const { return sheet->sheetImage().cacheKey(); }  // new on every redraw

    // Runs whileOpen inside the modal dialog, then closes it if whileOpen left it open.
    int openWith(const std::function<void()>& whileOpen) {
        QTimer::singleShot(0, dialog.get(), [&] {
            whileOpen();
            if (dialog->isVisible()) dialog->reject();
        });
        return dialog->openFor(sheet.get());
    }

    // Activated and shown without a modal loop, for clicks and keys.
    void showFor() {
        dialog->setActiveWorksheet(sheet.get());
        dialog->fillFrom(sheet->worksheet());
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    const std::string gyosho = sjis("衡山毛筆フォント行書");
    test::SetteiHost host;
    std::unique_ptr<TfrmPrint> sheet;
    std::unique_ptr<TfrmSettei> dialog;
};

TEST_F(SetteiTest, OpeningSelectsTheStyleAndFillsTheFieldsWithoutChangingTheWorksheet) {
    params().BoxStyle = 1;
    openWith([] {});
    EXPECT_TRUE(dialog->radShikaku->isChecked());  // the focus the window gets selects nothing

    params().BoxStyle = 0;
    params().BoxWidth = 21;
    params().BoxOffsetX = -7;
    params().FontSize = 12;
    params().AnswerFontSize = 0;  // drawn at the question size + 4
    sheet->worksheet().modified = false;
    const LayoutParams before = params();
    bool ready = false;
    QPoint position;
    int height = 0;
    openWith([&] {
        ready = host.shared.layoutDialogReady;
        position = dialog->pos();
        height = dialog->height();
    });
    EXPECT_TRUE(dialog->radNon->isChecked());
    EXPECT_FALSE(dialog->spnKranWX->isEnabled() || dialog->spnKranH->isEnabled());
    EXPECT_EQ(dialog->spnKranWX->value(), 21);
    EXPECT_EQ(dialog->spnKranX->value(), -7);
    EXPECT_EQ(dialog->spnFontSize->value(), 16);
    EXPECT_EQ(params(), before);
    EXPECT_FALSE(modified());
    EXPECT_TRUE(ready);
    const QRect area = dialog->screen()->availableGeometry();
    EXPECT_EQ(position, QPoint(area.left(), area.top() + 48));
    EXPECT_EQ(height, host.panel);
}

TEST_F(SetteiTest, BracketStylesShowNoButtonAndKeepTheirStyleUntilAnotherIsPicked) {
    for (int style : {2, 3}) {
        SCOPED_TRACE(style);
        params().BoxStyle = style;
        bool anyShownChecked = true, widthUsable = false, heightUsable = true;
        openWith([&] {
            anyShownChecked = dialog->radNon->isChecked() || dialog->radShikaku->isChecked() ||
                              dialog->radKasen->isChecked() || dialog->radRound->isChecked();
            widthUsable = dialog->spnKranWX->isEnabled();
            heightUsable = dialog->spnKranH->isEnabled();
            dialog->spnKranWX->setValue(40);
        });
        EXPECT_FALSE(anyShownChecked);
        EXPECT_TRUE(widthUsable);
        EXPECT_FALSE(heightUsable);
        EXPECT_EQ(params().BoxStyle, style);

        openWith([&] { dialog->radRound->click(); });
        EXPECT_EQ(params().BoxStyle, 5);
        EXPECT_TRUE(dialog->spnKranH->isEnabled());
    }
}

TEST_F(SetteiTest, EveryValueFieldWritesItsParameterRedrawsAndMarksModified) {
    dialog->setActiveWorksheet(sheet.get());
    dialog->fillFrom(sheet->worksheet());
    const std::pair<QSpinBox*, int LayoutParams::*> holders[] = {
        {dialog->spnKranWX, &LayoutParams::BoxWidth},
        {dialog->spnKranH, &LayoutParams::BoxHeight},
        {dialog->spnKranX, &LayoutParams::BoxOffsetX},
        {dialog->spnKranY, &LayoutParams::BoxOffsetY},
        {dialog->spnAnsX, &LayoutParams::AnswerOffsetX},
        {dialog->spnAnsY, &LayoutParams::AnswerOffsetY},
        {dialog->spnLeftM, &LayoutParams::LeftMargin},
        {dialog->spnRightM, &LayoutParams::RightMargin},
        {dialog->spnFontSize, &LayoutParams::AnswerFontSize}};
    for (const auto& [field, param] : holders) {
        SCOPED_TRACE(field->objectName().toStdString());
        LayoutParams expected = params();
        sheet->worksheet().modified = false;
        const qint64 key = imageKey();
        const bool margin = field == dialog->spnLeftM || field == dialog->spnRightM;
        field->setValue(expected.*param = margin ? 9 : -40);
        EXPECT_EQ(params(), expected);
        EXPECT_NE(imageKey(), key);
        EXPECT_TRUE(modified());
    }
    EXPECT_EQ(host.shared.AnswerFontSize, -40);
    dialog->spnFontSize->stepBy(1);
    EXPECT_EQ(params().AnswerFontSize, -38);

    dialog->spnLeftM->setValue(20);
    dialog->spnRightM->setValue(-3);
    EXPECT_EQ(params().LeftMargin, 15);
    EXPECT_EQ(params().RightMargin, 0);
}

TEST_F(SetteiTest, FillingFromAWorksheetNeitherWritesRedrawsNorMarksIt) {
    sheet->Redraw();
    Worksheet other;
    other.params.BoxStyle = 4;
    other.params.AnswerOffsetX = -3;
    other.params.LeftMargin = 20;  // shown clamped
    other.params.AnswerFontSize = 18;
    other.params.FontName = gyosho;
    dialog->setActiveWorksheet(sheet.get());
    const LayoutParams before = params();
    const qint64 key = imageKey();
    dialog->fillFrom(other);
    EXPECT_TRUE(dialog->radKasen->isChecked());
    EXPECT_FALSE(dialog->spnKranH->isEnabled());
    EXPECT_EQ(dialog->spnAnsX->value(), -3);
    EXPECT_EQ(dialog->spnLeftM->value(), 15);
    EXPECT_EQ(dialog->spnFontSize->value(), 18);
    EXPECT_EQ(dialog->edtKaiFont->text(), QStringLiteral("衡山毛筆フォント行書"));

    // The main window may also set a field itself while it holds redrawing off.
    host.shared.redrawEnabled = false;
    dialog->spnKranX->setValue(40);
    host.shared.redrawEnabled = true;
    EXPECT_EQ(params(), before);
    EXPECT_FALSE(modified());
    EXPECT_EQ(imageKey(), key);
}

TEST_F(SetteiTest, ClickingAFaceOrTheMinchoButtonSetsTheAnswerFace) {
    showFor();
    const qint64 key = imageKey();
    QListWidgetItem* item = dialog->lstFont->item(0);
    QTest::mouseClick(dialog->lstFont->viewport(), Qt::LeftButton, {},
                      dialog->lstFont->visualItemRect(item).center());
    EXPECT_EQ(params().FontName, gyosho);
    EXPECT_EQ(dialog->edtKaiFont->text(), item->text());
    EXPECT_TRUE(modified());
    EXPECT_NE(imageKey(), key);

    // A machine without running-script faces still has the Mincho button.
    dialog = std::make_unique<TfrmSettei>(host, std::vector<std::string>{});
    showFor();
    QTest::mouseClick(dialog->btnMincho, Qt::LeftButton);
    EXPECT_EQ(params().FontName, sjis("ＭＳ 明朝"));
    EXPECT_EQ(dialog->edtKaiFont->text(), QStringLiteral("ＭＳ 明朝"));
    QTest::keyClicks(dialog->edtKaiFont, "abc");
    EXPECT_EQ(dialog->edtKaiFont->text(), QStringLiteral("ＭＳ 明朝"));
}

TEST_F(SetteiTest, EscapeClosesKeepingTheChangesAndOkWritesTheSizesOnceMore) {
    params().BoxStyle = 5;
    int result = openWith([&] {
        dialog->radShikaku->click();
        dialog->spnKranH->setValue(7);
        QTest::keyClick(dialog->spnKranH, Qt::Key_Escape);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(params().BoxStyle, 1);
    EXPECT_EQ(params().BoxHeight, 7);

    result = openWith([&] {
        params().BoxWidth = 99;  // changed behind the dialog's back
        host.shared.layoutDialogReady = false;
        QTest::mouseClick(dialog->btnOk, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(params().BoxWidth, dialog->spnKranWX->value());
    EXPECT_TRUE(host.shared.layoutDialogReady);
}

TEST_F(SetteiTest, OpeningWithHiddenAnswersSwitchesTheAnswerDisplayOn) {
    openWith([] {});
    EXPECT_EQ(host.answerDisplaySwitches, 0);
    host.answersShown = false;
    openWith([] {});
    EXPECT_EQ(host.answerDisplaySwitches, 1);
    EXPECT_EQ(dialog->openFor(nullptr), QDialog::Rejected);
}

TEST_F(SetteiTest, KeysOnlyTypeIntoFieldsOrRunTheViewCommands) {
    params().BoxStyle = 1;
    showFor();
    QSpinBox* width = dialog->spnKranWX;
    width->selectAll();
    QTest::keyClicks(width, "24");
    EXPECT_EQ(params().BoxWidth, 24);

    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Delete, Qt::Key_Home, Qt::Key_Tab})
        QTest::keyClick(width, key);
    QTest::keyClick(width, Qt::Key_PageDown);
    QTest::keyClick(width, Qt::Key_PageUp);
    QTest::keyClick(width, Qt::Key_S);
    QTest::keyClick(dialog->lstFont, Qt::Key_S, Qt::ShiftModifier);
    EXPECT_EQ(width->text(), QStringLiteral("24"));
    EXPECT_EQ(host.scrolls, 2);
    EXPECT_EQ(host.shrinkToggles, 2);

    QTest::keyClick(width, Qt::Key_Backspace);
    EXPECT_EQ(params().BoxWidth, 2);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(SetteiTest, AStyleButtonGivenTheFocusAppliesItsStyleOnlyWhenReady) {
    params().BoxStyle = 1;
    showFor();
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    host.shared.layoutDialogReady = false;
    QApplication::sendEvent(dialog->radKasen, &focus);
    EXPECT_EQ(params().BoxStyle, 1);
    host.shared.layoutDialogReady = true;
    QApplication::sendEvent(dialog->radKasen, &focus);
    EXPECT_EQ(params().BoxStyle, 4);
}

}  // namespace
}  // namespace sulkan
