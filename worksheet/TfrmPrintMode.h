// The print-mode dialog: faithful to the screen or at the printer's resolution, and the numbering
// of copies that also gives the sheet header its "№" field.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <string>

#include "SettingsStore.h"
#include "SheetPrinting.h"

namespace sulkan {

class TfrmPrintMode : public QDialog, public PrintNumbering {
    Q_OBJECT
public:
    explicit TfrmPrintMode(SettingsStore& settings, QWidget* parent = nullptr);

    PrintMode mode() const;
    // "№ " and the start number (CP932) while "№を付ける" is ticked; empty otherwise.
    std::string numberText() const;

    bool numberingOn() const override;
    int startNumber() const override;
    void setStartNumber(int number) override;

    QGroupBox* grbMode;
    QRadioButton* radDisplay;
    QRadioButton* radPrinter;
    QGroupBox* grbNumber;
    QCheckBox* chkNumber;
    QSpinBox* spnStart;
    QPushButton* frmClose;

Q_SIGNALS:
    // The dialog closed: the active worksheet should be drawn again with the new number.
    void redrawRequested();

protected:
    // However the dialog closes, the mode is stored and the sheet follows the numbering.
    void done(int result) override;

private:
    void frmCloseClick();

    SettingsStore& m_settings;
};

}  // namespace sulkan
