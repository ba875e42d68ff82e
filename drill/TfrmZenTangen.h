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

namespace sulkan {

// What the tree shows (CP932).
struct ZenTangenSource {
    std::string lessonTitle;  // line 0 of the lesson index
    std::vector<std::string> sectionTitles;
    std::vector<std::vector<std::string>> unitLines;  // per section: mark + title
    std::string dateStamp;                            // "2003.10.15"
};

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
