// The drill window's answer boxes: one line edit per blank over the sheet, mirrored from the
// engine's model; what the learner types, composes, focuses and clicks there, and clicks on the
// colour samples and the record panel's message.
#include <QApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <algorithm>

#include "Named.h"
#include "QtText.h"
#include "RenshuSupport.h"
#include "TfrmRenshu.h"

namespace sulkan {

using renshu::ToQColor;

void TfrmRenshu::createAnswerBoxes() {
    for (int i = 0; i < kAnswerBoxes; ++i) {
        const QByteArray name = "M" + QByteArray::number(i);
        auto* box = Named(new QLineEdit(QString::fromLatin1(name), imgPaper2), name.constData());
        box->resize(100, 50);
        box->setFocusPolicy(Qt::ClickFocus);
        box->setAccessibleName(QStringLiteral("解答欄 %1").arg(i));
        box->hide();
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            if (m_syncing) return;
            char32_t failed = 0;
            if (const auto bytes = FromQString(text, &failed))
                m_engine.boxEdited(i, *bytes);
            else
                m_engine.boxUnusable(i, failed);
        });
        m_boxes[static_cast<std::size_t>(i)] = box;
    }
}

void TfrmRenshu::boxesChanged() {
    m_syncing = true;
    for (int i = 1; i < kAnswerBoxes; ++i) {
        const AnswerBox& model = m_engine.box(i);
        QLineEdit* box = m_boxes[static_cast<std::size_t>(i)];
        // A box showing what the engine cannot hold keeps what it shows until the engine
        // gives it new text (which also ends the unusable state).
        if (model.unusable == 0) {
            const QString text = ToQString(model.text);
            if (box->text() != text) {
                box->setText(text);
                // A box is often narrower than its text: shown from the caret at its end, a
                // one-kanji answer would be scrolled out of sight. The box in use gets its
                // caret from focusBox.
                if (!box->hasFocus()) box->setCursorPosition(0);
            }
        }
        box->setReadOnly(model.readOnly);
        QPalette p = box->palette();
        if (p.color(QPalette::Base) != ToQColor(model.background) ||
            p.color(QPalette::Text) != ToQColor(model.textColour)) {
            p.setColor(QPalette::Base, ToQColor(model.background));
            p.setColor(QPalette::Text, ToQColor(model.textColour));
            box->setPalette(p);
        }
        if (box->isVisibleTo(imgPaper2) != model.visible) box->setVisible(model.visible);
    }
    m_syncing = false;
}

void TfrmRenshu::focusBox(int blank, Caret caret) {
    QLineEdit* box = answerBox(blank);
    box->setFocus(Qt::OtherFocusReason);
    switch (caret) {
        case Caret::Start:
            box->setCursorPosition(0);
            break;
        case Caret::End:
            box->end(false);
            break;
        case Caret::SelectAll:
            box->selectAll();
            break;
    }
}

int TfrmRenshu::boxIndex(QObject* watched) const {
    for (int i = 1; i < kAnswerBoxes; ++i)
        if (m_boxes[static_cast<std::size_t>(i)] == watched) return i;
    return 0;
}

bool TfrmRenshu::boxKeyPress(int i, QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            // The Enter that ends a composition belongs to the input method.
            if (!m_preedit[static_cast<std::size_t>(i)].isEmpty()) return false;
            m_engine.enterPressed(i);
            return true;
        }
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return true;  // the learner stays on the blank being answered
        default:
            return false;
    }
}

// The commands never take the focus from the answer box, so nothing else would end a composition:
// they act on what the learner sees, the composed text included.
void TfrmRenshu::commitComposition() {
    const auto composing = [this] {
        return std::any_of(m_preedit.begin() + 1, m_preedit.end(),
                           [](const QString& p) { return !p.isEmpty(); });
    };
    if (!composing()) return;
    QGuiApplication::inputMethod()->commit();
    if (!composing()) return;
    // Some input methods commit only on a reset, others drop the composition there: whatever
    // the reset did not put into the box is committed here.
    const std::array<QString, kAnswerBoxes> preedit = m_preedit;
    std::array<QString, kAnswerBoxes> before;
    for (int i = 1; i < kAnswerBoxes; ++i)
        before[static_cast<std::size_t>(i)] = answerBox(i)->text();
    QGuiApplication::inputMethod()->reset();
    for (int i = 1; i < kAnswerBoxes; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (preedit[k].isEmpty() || answerBox(i)->text() != before[k]) continue;
        QInputMethodEvent done;
        done.setCommitString(preedit[k]);
        QApplication::sendEvent(answerBox(i), &done);
    }
}

bool TfrmRenshu::eventFilter(QObject* watched, QEvent* event) {
    if (const int i = boxIndex(watched)) {
        switch (event->type()) {
            case QEvent::KeyPress:
                return boxKeyPress(i, static_cast<QKeyEvent*>(event));
            case QEvent::InputMethod: {
                auto* im = static_cast<QInputMethodEvent*>(event);
                m_preedit[static_cast<std::size_t>(i)] = im->preeditString();
                break;
            }
            case QEvent::FocusIn:
                if (!m_syncing) m_engine.boxFocusEnter(i);
                break;
            case QEvent::FocusOut: {
                // A message box or another window taking the focus is not leaving the blank.
                const auto reason = static_cast<QFocusEvent*>(event)->reason();
                if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                    !m_syncing) {
                    m_engine.boxFocusLeave(i);
                    // What the learner wrote stays in sight from its start once she moves on.
                    answerBox(i)->setCursorPosition(0);
                }
                break;
            }
            case QEvent::MouseButtonPress:
                m_engine.boxClicked(i);
                break;
            default:
                break;
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        for (int k = 0; k < 4; ++k) {
            if (watched == shpCol[k]) {
                rad[k]->setChecked(true);
                m_engine.chooseColour(k);
                return true;
            }
        }
        if (watched == imgMess && m_engine.state() == DrillState::Results) {
            showMascot(Mascot::Gaoh);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace sulkan
