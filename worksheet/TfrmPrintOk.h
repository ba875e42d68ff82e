// The print dialog: shows the printer's page, opens the printer setup and prints the worksheet of
// the window it was shown for, one job per copy, in the mode of the print-mode dialog.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <functional>
#include <memory>

#include "SheetPrinting.h"
#include "TfrmPrint.h"
#include "TfrmPrintMode.h"
#include "WorksheetHost.h"

namespace sulkan {

class QPrinterTarget;

class TfrmPrintOk : public QDialog {
    Q_OBJECT
public:
    // Where the jobs go and the setup dialog for it (true on OK). The system printer with the
    // platform's print dialog unless replaced.
    struct Printer {
        PrintTarget* target = nullptr;
        std::function<bool(QWidget* parent)> setup;
    };

    TfrmPrintOk(WorksheetHost& host, TfrmPrintMode& printMode, QWidget* parent = nullptr);
    ~TfrmPrintOk() override;

    void usePrinter(Printer printer);
    // Where the progress of numbered copies goes instead of a progress dialog (tests).
    void useProgress(Progress* progress) { m_progress = progress; }

    // Shows the dialog modally for the window's worksheet; without a window nothing happens.
    // From here on drawing passes leave the blank table alone until a window is activated.
    int showFor(TfrmPrint* window);
    // The same for a sheet drawn by someone else over the window's worksheet (the drill): source
    // replaces what is printed.
    int showFor(TfrmPrint* window, std::function<void(PrintSource&)> source);
    // Shows a worksheet's start number without storing it anywhere (activation).
    void showStartNumber(int number);
    // The printer setup was confirmed in this run.
    bool printerChosen() const { return m_printerChosen; }

    QLabel* lblPWidth;
    QLabel* lblPHeight;
    QLabel* lblSize;
    QLabel* lblFit;  // says when the sheet is reduced or enlarged to the printer's paper
    QPushButton* btnSettei;
    QPushButton* btnPrint;
    QPushButton* btnClose;
    // The practice sheet of the worksheet's answer kanji, to the same printer.
    QPushButton* btnPractice;
    QLabel* lblStartNum;
    QSpinBox* spnStartNum;

private:
    void FormShow();
    void btnSetteiClick();
    void btnPrintClick();
    void btnPracticeClick();
    void spnStartNumChange(int value);

    Printer& printer();
    bool choosePrinter();
    void showPageSize();
    void setButtonsEnabled(bool enabled);
    PrintResult printJob();

    WorksheetHost& m_host;
    TfrmPrintMode& m_printMode;
    Printer m_printer;
    std::unique_ptr<QPrinterTarget> m_systemPrinter;
    QPointer<TfrmPrint> m_window;
    std::function<void(PrintSource&)> m_source;
    bool m_printerChosen = false;
    Progress* m_progress = nullptr;
};

}  // namespace sulkan
