#include "TfrmPrintMode.h"
#include "Named.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace sulkan {
namespace {

constexpr int kMaxStartNumber = 99999;

}  // namespace

TfrmPrintMode::TfrmPrintMode(SettingsStore& settings, QWidget* parent)
    : QDialog(parent),
      grbMode(Named(new QGroupBox(QStringLiteral("印刷のモード")), "grbMode")),
      radDisplay(Named(new QRadioButton(QStringLiteral("画面に忠実に印刷する")), "radDisplay")),
      radPrinter(
          Named(new QRadioButton(QStringLiteral("プリンタの解像度で印刷する")), "radPrinter")),
      grbNumber(Named(new QGroupBox(QStringLiteral("番号")), "grbNumber")),
      chkNumber(Named(new QCheckBox(QStringLiteral("№を付ける")), "chkNumber")),
      spnStart(Named(new QSpinBox, "spnStart")),
      frmClose(Named(new QPushButton(QStringLiteral("閉じる")), "frmClose")),
      m_settings(settings) {
    setObjectName(QStringLiteral("TfrmPrintMode"));
    setWindowTitle(QStringLiteral("印字モードの設定"));

    radDisplay->setChecked(true);
    chkNumber->setChecked(true);
    // Copies move the number on, so it needs room beyond the worksheet's 1..100.
    spnStart->setRange(1, kMaxStartNumber);
    spnStart->setValue(1);

    auto* modeBox = new QVBoxLayout(grbMode);
    modeBox->addWidget(radDisplay);
    modeBox->addWidget(radPrinter);
    auto* numberBox = new QFormLayout(grbNumber);
    numberBox->addRow(chkNumber);
    numberBox->addRow(QStringLiteral("開始番号"), spnStart);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(frmClose);
    auto* root = new QVBoxLayout(this);
    root->addWidget(grbMode);
    root->addWidget(grbNumber);
    root->addLayout(buttons);

    connect(frmClose, &QPushButton::clicked, this, &TfrmPrintMode::frmCloseClick);
}

PrintMode TfrmPrintMode::mode() const {
    return radPrinter->isChecked() ? PrintMode::PrinterResolution : PrintMode::Faithful;
}

std::string TfrmPrintMode::numberText() const {
    return NumberText(numberingOn(), startNumber());
}

bool TfrmPrintMode::numberingOn() const {
    return chkNumber->isChecked();
}

int TfrmPrintMode::startNumber() const {
    return spnStart->value();
}

void TfrmPrintMode::setStartNumber(int number) {
    spnStart->setValue(number);
}

void TfrmPrintMode::frmCloseClick() {
    accept();
}

void TfrmPrintMode::done(int result) {
    m_settings.writeBool(SettingsKey::Product, "PrintMode", radPrinter->isChecked());
    QDialog::done(result);
    Q_EMIT redrawRequested();
}

}  // namespace sulkan
