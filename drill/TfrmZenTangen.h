// The all-units window "全単元": the selected lesson as a tree of sections and units, each unit
// with its similar-problem mark and practice count, a date line and printing of the window.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>
#include <string>
#include <vector>

#include "RecordWindowSources.h"

namespace sulkan {

class TfrmZenTangen : public QDialog {
    Q_OBJECT
public:
    explicit TfrmZenTangen(QWidget* parent = nullptr);

    int showFor(const ZenTangenSource& source);

    // Prints the window as shown; the default opens the system's print dialog. False when
    // nothing was printed.
    std::function<bool(QWidget& window)> PrintWindowHook;

    QTreeWidget* trvMain;
    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* btnPrint;
    QPushButton* btnClose;

private:
    void FormShow(const ZenTangenSource& source);
    void btnPrintClick();

    int m_printCount = 0;
};

}  // namespace sulkan
