#include "TfrmSetPaper.h"
#include "Named.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace sulkan {

using namespace sheet_options;

TfrmSetPaper::TfrmSetPaper(WorksheetHost& host, QWidget* parent) : QDialog(parent), m_host(host) {
    setObjectName(QStringLiteral("TfrmSetPaper"));
    setWindowTitle(QStringLiteral("用紙設定"));

    grbOption = Named(new QGroupBox(QStringLiteral("オプション"), this), "grbOption");
    chkClassFlag = Named(new QCheckBox(QStringLiteral("学級旗"), grbOption), "chkClassFlag");
    chkJisshibi = Named(new QCheckBox(QStringLiteral("実施日"), grbOption), "chkJisshibi");
    chkPrinted = Named(new QCheckBox(QStringLiteral("No.印刷日時"), grbOption), "chkPrinted");
    auto* options = new QVBoxLayout(grbOption);
    for (QCheckBox* c : {chkClassFlag, chkJisshibi, chkPrinted}) options->addWidget(c);

    grbPaper = Named(new QGroupBox(QStringLiteral("用紙サイズ"), this), "grbPaper");
    rdbB5 = Named(new QRadioButton(QStringLiteral("B５"), grbPaper), "rdbB5");
    rdbA4 = Named(new QRadioButton(QStringLiteral("A４"), grbPaper), "rdbA4");
    rdbB4 = Named(new QRadioButton(QStringLiteral("B４"), grbPaper), "rdbB4");
    rdbA3 = Named(new QRadioButton(QStringLiteral("A３"), grbPaper), "rdbA3");
    auto* papers = new QVBoxLayout(grbPaper);
    const std::pair<QRadioButton*, int> paperButtons[] = {
        {rdbB5, 546}, {rdbA4, 630}, {rdbB4, 771}, {rdbA3, 891}};
    for (const auto& [button, width] : paperButtons) {
        papers->addWidget(button);
        connect(button, &QRadioButton::clicked, this, [this, w = width] { m_chosenWidth = w; });
    }
    rdbA4->setChecked(true);
    // Only A4 is offered; the other sizes are taken from the main window's paper buttons.
    for (QRadioButton* r : {rdbB5, rdbB4, rdbA3}) r->setEnabled(false);

    btnOk = Named(new QPushButton(QStringLiteral("OK"), this), "btnOk");
    btnCancel = Named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this), "btnCancel");
    btnOk->setAutoDefault(false);
    btnCancel->setAutoDefault(false);
    connect(btnOk, &QPushButton::clicked, this, &TfrmSetPaper::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(grbOption);
    groups->addWidget(grbPaper);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* box = new QVBoxLayout(this);
    box->addLayout(groups);
    box->addLayout(buttons);
}

int TfrmSetPaper::showFor(TfrmPrint* window) {
    FormShow(window);
    return exec();
}

void TfrmSetPaper::FormShow(TfrmPrint* window) {
    m_window = window;
    if (!window) return;
    const int options = window->worksheet().params.SheetOptions;
    chkClassFlag->setChecked(options & kClassFlag);
    chkJisshibi->setChecked(options & kDateLine);
    chkPrinted->setChecked(options & kNumberAndDate);
}

void TfrmSetPaper::btnOkClick() {
    TfrmPrint* window = m_window;
    if (!window) return;
    m_host.applyPaperChoice(m_chosenWidth);
    const int options = (chkClassFlag->isChecked() ? kClassFlag : 0) +
                        (chkJisshibi->isChecked() ? kDateLine : 0) +
                        (chkPrinted->isChecked() ? kNumberAndDate : 0);
    Worksheet& worksheet = window->worksheet();
    if (worksheet.params.SheetOptions != options) {
        // Saved with the worksheet like every other layout value, so closing must ask.
        worksheet.params.SheetOptions = options;
        worksheet.modified = true;
    }
    window->Redraw();
    accept();
}

}  // namespace sulkan
