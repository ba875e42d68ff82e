// The version dialog: product name, the version and date of this build, and the product team's
// notice and contact lines.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <string>

namespace sulkan {

// "Version X.YY YYYY.MM.DD": the minor number is read as the digits after a decimal point, so
// 0.1 shows as 0.10 and 2.05 as 2.05.
std::string VersionText(int major, const std::string& minor, const std::string& dotDate);
// The text of this build.
std::string BuildVersionText();
// "Sulkan++ 0.1 (2026.12.09)": what "sulkan --version" prints.
std::string CommandLineVersionText();

class TfrmVersion : public QDialog {
    Q_OBJECT
public:
    explicit TfrmVersion(QWidget* parent = nullptr);

    // Shows the dialog modally under the main window's caption.
    int showFor(const QString& mainCaption);

    QLabel* imgProgramIcon;
    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblNotice;
    QLabel* lblMaker;
    QListWidget* ListBox2;
    QLabel* Comments;
    QPushButton* btnOK;
};

}  // namespace sulkan
