// Progress shown in a window: a window-modal progress dialog with a "中止" button that appears
// only when the work takes more than a moment.
#pragma once

#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <chrono>

#include "Progress.h"

class QWidget;

namespace sulkan {

class ProgressDialog : public Progress {
public:
    // Work that ends sooner than this shows no dialog at all.
    static constexpr std::chrono::milliseconds kShowAfter{700};
    // The dialog is brought up to date at most this often: drawing it after every one of a
    // thousand quick steps would cost more than the steps.
    static constexpr std::chrono::milliseconds kUpdateEvery{100};

    // parent: the window kept waiting while the work runs; title: the dialog's caption.
    ProgressDialog(QWidget* parent, QString title,
                   std::chrono::milliseconds showAfter = kShowAfter);
    ~ProgressDialog() override;
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    void start(int total, const std::string& label) override;
    bool step(int done, const std::string& label) override;
    void finish() override;

    // The dialog of the work running now; null before start and after finish.
    QProgressDialog* dialog() const { return m_dialog; }

private:
    QPointer<QWidget> m_parent;
    QString m_title;
    std::chrono::milliseconds m_showAfter;
    QString m_what;  // the label of start
    int m_total = 0;
    QPointer<QProgressDialog> m_dialog;
    std::chrono::steady_clock::time_point m_updated;  // when the dialog was last brought up to date
    bool m_stepped = false;
};

}  // namespace sulkan
