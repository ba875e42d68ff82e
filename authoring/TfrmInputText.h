// The text input dialog of the index editor: one line for a new or renamed section or unit.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace sulkan {

class TfrmInputText : public QDialog {
    Q_OBJECT
public:
    explicit TfrmInputText(QWidget* parent = nullptr);

    // mode is "mainADD", "mainCHANGE", "subADD" or "subCHANGE"; the CHANGE modes start from
    // current, selected whole so that typing replaces it. Shows the dialog modally.
    int ask(const QString& mode, const QString& current = {});
    QString mode() const { return m_mode; }
    // The entered line.
    QString text() const { return memInput->text(); }

    QLineEdit* memInput;
    QPushButton* btnOk;
    QPushButton* btnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    QString m_mode;
    QString m_current;
};

}  // namespace sulkan
