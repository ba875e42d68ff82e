// The paper dialog: the sheet options of the active worksheet (class flag, date line, number and
// printing date) and the paper it is printed on.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include "TfrmPrint.h"
#include "WorksheetHost.h"

namespace sulkan {

class TfrmSetPaper : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSetPaper(WorksheetHost& host, QWidget* parent = nullptr);

    // Shows the dialog modally for a worksheet window (nullptr when none is open) and returns
    // its result: Accepted once btnOk has applied the paper and the options.
    int showFor(TfrmPrint* window);
    // The start of every showing: the window the dialog acts on, and its options in the boxes.
    void FormShow(TfrmPrint* window);

    QGroupBox* grbOption;
    QCheckBox* chkClassFlag;  // SheetOptions 1
    QCheckBox* chkJisshibi;   // SheetOptions 2
    QCheckBox* chkPrinted;    // SheetOptions 4
    QGroupBox* grbPaper;
    QRadioButton* rdbB5;
    QRadioButton* rdbA4;
    QRadioButton* rdbB4;
    QRadioButton* rdbA3;
    QPushButton* btnOk;
    QPushButton* btnCancel;

private:
    void btnOkClick();

    WorksheetHost& m_host;
    QPointer<TfrmPrint> m_window;
    int m_chosenWidth = 630;  // A4, the paper ticked from the start
};

}  // namespace sulkan
