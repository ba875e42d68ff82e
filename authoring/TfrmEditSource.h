// The source editor: a whole data file as plain text for free editing. It reads and writes no
// file; the caller hands over the lines and saves what comes back.
#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <string>
#include <vector>

#include "Prompter.h"

namespace sulkan {

class TfrmEditSource : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEditSource(Prompter& prompter, QWidget* parent = nullptr);

    // Hands over the file path for the caption (CP932), the help topic of the help button and the
    // lines (CP932), and shows the dialog modally. On Accepted, editedLines() holds the text:
    // unchanged lines with the bytes they came with, the text otherwise unchecked.
    int editLines(const std::string& path, int helpContext, const std::vector<std::string>& lines);
    const std::vector<std::string>& editedLines() const { return m_edited; }
    int helpContext() const { return m_helpContext; }

    QPlainTextEdit* memEditBuffer;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    QPushButton* btnHelp;

Q_SIGNALS:
    // The help button: the owner opens the help at this topic.
    void helpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void btnOkClick();

    Prompter& m_prompter;
    int m_helpContext = 0;
    std::vector<std::string> m_original;
    std::vector<std::string> m_edited;
};

}  // namespace sulkan
