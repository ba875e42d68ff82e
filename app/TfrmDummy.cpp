#include "TfrmDummy.h"

#include <QEvent>
#include <QMdiSubWindow>
#include <algorithm>

namespace sulkan {

TfrmDummy::TfrmDummy(QWidget* parent) : QWidget(parent), btnTitle(new QPushButton(this)) {
    setObjectName(QStringLiteral("TfrmDummy"));
    setWindowTitle(caption());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    btnTitle->setObjectName(QStringLiteral("btnTitle"));
    btnTitle->setFlat(true);
    btnTitle->setFocusPolicy(Qt::NoFocus);
    btnTitle->resize(10, 20);
}

void TfrmDummy::setTitlePicture(const QPixmap& picture) {
    btnTitle->setIcon(QIcon(picture));
    btnTitle->setIconSize(picture.size());
    btnTitle->resize(picture.width() + 10, picture.height() + 20);
    centreButton();
}

void TfrmDummy::fitToArea() {
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!sub || !sub->parentWidget()) return;
    if (!sub->isMaximized() && !sub->isMinimized()) sub->setGeometry(sub->parentWidget()->rect());
    sub->setWindowTitle(caption());
}

QString TfrmDummy::caption() {
    return QStringLiteral("ようこそ　漢字の学習へ");
}

void TfrmDummy::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    centreButton();
}

void TfrmDummy::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    QWidget* area = sub ? sub->parentWidget() : nullptr;
    if (area && area != m_area) {
        if (m_area) m_area->removeEventFilter(this);
        m_area = area;
        m_area->installEventFilter(this);
    }
}

bool TfrmDummy::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_area && event->type() == QEvent::Resize) fitToArea();
    return QWidget::eventFilter(watched, event);
}

void TfrmDummy::centreButton() {
    // Centred, and never above or left of the window when the picture is larger than it.
    btnTitle->move(std::max(0, (width() - btnTitle->width()) / 2),
                   std::max(0, (height() - btnTitle->height()) / 2));
}

}  // namespace sulkan
