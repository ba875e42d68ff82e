#include "TfrmPrint.h"

#include <QCloseEvent>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>

#include "QtText.h"
#include "SheetImage.h"

namespace sulkan {

TfrmPrint::TfrmPrint(WorksheetHost& host, Worksheet worksheet, QWidget* parent)
    : QWidget(parent),
      ScrollBox(new QScrollArea(this)),
      Image1(new QLabel),
      Image2(new QLabel),
      m_host(host),
      m_worksheet(std::move(worksheet)) {
    setObjectName(QStringLiteral("TfrmPrint"));
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    Image1->setObjectName(QStringLiteral("Image1"));
    Image2->setObjectName(QStringLiteral("Image2"));
    auto* page = new QWidget;
    auto* pageBox = new QVBoxLayout(page);
    pageBox->setContentsMargins(0, 0, 0, 0);
    pageBox->addWidget(Image1);
    pageBox->addWidget(Image2);
    pageBox->addStretch();
    Image2->hide();
    ScrollBox->setWidget(page);
    ScrollBox->setWidgetResizable(true);
    ScrollBox->setBackgroundRole(QPalette::Dark);
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(ScrollBox);
    // A fresh window counts every blank as not graded yet.
    for (auto& blank : m_host.sheetShared().blanks.slots) blank.BlankStatus = 99;
}

void TfrmPrint::LoadPictures() {
    int lesson = m_worksheet.address.lesson < 1 ? 1 : m_worksheet.address.lesson;
    SheetPictures pictures = LoadSheetPictures(m_worksheet, m_host.programFolder(),
                                               m_host.figureFolder(lesson), &m_host.prompter());
    m_classFlag = pictures.classFlag;
    m_questionPictures = std::move(pictures.question);
    m_answerPictures = std::move(pictures.answer);
}

void TfrmPrint::Redraw() {
    SheetShared& shared = m_host.sheetShared();
    if (!shared.redrawEnabled) return;
    ScreenView view;
    view.answersShown = m_host.answerDisplay();
    view.showAlternatives = m_host.showAlternatives();
    view.largerAnswers = m_host.largerAnswers();
    view.questionSize = m_host.questionSize();
    view.mainFontName = m_host.mainFontName();
    view.schoolName = m_host.schoolName();
    view.learnerName = m_host.learnerName();
    SheetPictures pictures{m_classFlag, m_questionPictures, m_answerPictures};
    RenderOutput output;
    QImage image =
        RenderSheetImage(m_worksheet, ScreenInputs(m_worksheet, view, pictures), shared, &output);
    if (!output.drawn) return;
    m_image = std::move(image);
    if (output.figuresWrittenBack) m_worksheet.modified = true;

    if (m_host.shrunk()) {
        // The reduced view fits the whole sheet into the panel's height.
        int h = m_host.panelHeight() - 36;
        int w = static_cast<int>(std::lround(h / std::sqrt(2.0)));
        Image2->setPixmap(QPixmap::fromImage(
            m_image.scaled(w, h, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        Image1->hide();
        Image2->show();
    } else {
        Image1->setPixmap(QPixmap::fromImage(m_image));
        Image1->setFixedSize(m_image.size());
        Image2->hide();
        Image1->show();
    }
    // The sheet is redrawn on every control step; a warning about it is worth saying once.
    for (const auto& message : output.messages) {
        if (m_messagesShown.insert(message).second) m_host.prompter().message(message);
    }
}

void TfrmPrint::scrollToTop() {
    ScrollBox->verticalScrollBar()->setValue(0);
}

void TfrmPrint::closeEvent(QCloseEvent* event) {
    m_host.worksheetClosing(this);
    event->accept();
}

}  // namespace sulkan
