// The small window that congratulates a learner on a run without a wrong answer.
#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace sulkan {

class TfrmZenSeikai : public QDialog {
    Q_OBJECT
public:
    explicit TfrmZenSeikai(QWidget* parent = nullptr);

    QFrame* pnlSeikai;
    QLabel* lblStars1;
    QLabel* lblSeikai;
    QLabel* lblStars2;
    QPushButton* btnOk;
};

}  // namespace sulkan
