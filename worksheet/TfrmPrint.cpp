#include "TfrmPrint.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

#include "CopyFileSave.h"
#include "LineFile.h"
#include "MasterSave.h"
#include "Named.h"
#include "QtText.h"
#include "SheetImage.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {
namespace {

QMenu* Menu(QWidget* owner, const QString& caption, const char* name) {
    return Named(new QMenu(caption, owner), name);
}

// The frame through two corners in any order, its lines on both corners' rows and columns.
void DrawFrame(QPainter& painter, QPoint a, QPoint b, Qt::PenStyle style) {
    const int left = std::min(a.x(), b.x()), right = std::max(a.x(), b.x());
    const int top = std::min(a.y(), b.y()), bottom = std::max(a.y(), b.y());
    // A line one sheet unit wide through the middle of the edge units: one pixel on a plain
    // screen, as many as the ratio on a high-density one (a hairline there would be half as thin
    // and fall beside the unit it frames).
    painter.setPen(QPen(Qt::white, 1, style));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(left + 0.5, top + 0.5, right - left, bottom - top));
}

// Passes everything on to the user and notes whether the last save dialog was cancelled, which
// is the one way a copy save may end unsaved without anything being lost.
class SaveDialogWatch : public Prompter {
public:
    explicit SaveDialogWatch(Prompter& inner) : m_inner(inner) {}
    void message(const std::string& text) override { m_inner.message(text); }
    Answer yesNo(const std::string& text) override { return m_inner.yesNo(text); }
    Answer yesNoCancel(const std::string& text) override { return m_inner.yesNoCancel(text); }
    std::optional<std::string> saveFileName(const std::string& initialFolder,
                                            const std::string& pattern) override {
        auto name = m_inner.saveFileName(initialFolder, pattern);
        cancelled = !name;
        return name;
    }
    bool cancelled = false;

private:
    Prompter& m_inner;
};

}  // namespace

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
    // Pixels of Image1 are sheet units: the picture sits at its top left.
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->installEventFilter(this);
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
    createMenus();
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(ScrollBox);
    connectMenus();
    mnuFilePopup();
    mnuShowPopup();
    // A fresh window counts every blank as not graded yet.
    for (auto& blank : m_host.sheetShared().blanks.slots) blank.BlankStatus = blank_status::kOpen;
}

void TfrmPrint::createMenus() {
    // A bar inside the child window would give a second row of menus and clashing &-letters, so
    // the menus belong to the window and the frame puts them on its bar while the window is active.
    // The usual keys work only then: a menu off the bar takes its shortcuts along.
    mnuFile = Menu(this, QStringLiteral("ファイル(&F)"), "mnuFile");
    mnuOpenMaster = NamedAction(mnuFile, QStringLiteral("開く(&O)"), "mnuOpenMaster");
    mnuOpenMaster->setShortcut(QKeySequence::Open);
    // A test is often composed of several units: each is added after the ones already there.
    mnuAdd = NamedAction(mnuFile, QStringLiteral("追加(&A)..."), "mnuAdd");
    mnuAdd->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    mnuSaveMaster = NamedAction(mnuFile, QStringLiteral("上書き保存(&S)"), "mnuSaveMaster");
    mnuSaveMaster->setShortcut(QKeySequence::Save);
    mnuFile->addSeparator();
    mnuPrint = NamedAction(mnuFile, QStringLiteral("印刷(&P)"), "mnuPrint");
    mnuPrint->setShortcut(QKeySequence::Print);
    mnuFile->addSeparator();
    mnuClose = NamedAction(mnuFile, QStringLiteral("閉じる(&C)"), "mnuClose");
    mnuClose->setShortcuts(QKeySequence::Close);
    mnuExit = NamedAction(mnuFile, QStringLiteral("終了(&X)"), "mnuExit");
    mnuExit->setShortcut(QKeySequence::Quit);

    mnuEdit = Menu(this, QStringLiteral("編集(&E)"), "mnuEdit");
    mnuEditIndex = NamedAction(mnuEdit, QStringLiteral("目次作成(&C)"), "mnuEditIndex");
    mnuJuku = NamedAction(mnuEdit, QStringLiteral("学校名・塾名(&J)"), "mnuJuku");
    mnuEdit->addSeparator();
    mnuEditMaster = NamedAction(mnuEdit, QStringLiteral("編集(&E)"), "mnuEditMaster");
    mnuToClipBoard = NamedAction(mnuEdit, QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ(&B)"), "mnuToClipBoard");

    mnuShow = Menu(this, QStringLiteral("表示(&V)"), "mnuShow");
    mnuKaitou = NamedAction(mnuShow, QStringLiteral("解答表示(&A)"), "mnuKaitou");
    mnuKaitou->setCheckable(true);

    mnuSetting = Menu(this, QStringLiteral("設定(&T)"), "mnuSetting");
    mnuSetPrinter =
        NamedAction(mnuSetting, QStringLiteral("印字モードの設定(&P)"), "mnuSetPrinter");
    mnuSetKran = NamedAction(mnuSetting, QStringLiteral("解答欄の設定(&K)"), "mnuSetKran");
    mnuSetPaper =
        NamedAction(mnuSetting, QStringLiteral("用紙サイズとオプションの設定(&S)"), "mnuSetPaper");
}

void TfrmPrint::connectMenus() {
    auto forward = [this](QAction* action, WorksheetCommand command) {
        connect(action, &QAction::triggered, this, [this, command] { m_host.runCommand(command); });
    };
    forward(mnuOpenMaster, WorksheetCommand::OpenMaster);
    forward(mnuAdd, WorksheetCommand::AddUnit);
    forward(mnuPrint, WorksheetCommand::Print);
    forward(mnuExit, WorksheetCommand::Exit);
    forward(mnuJuku, WorksheetCommand::Juku);
    forward(mnuEditMaster, WorksheetCommand::EditMaster);
    forward(mnuSetPrinter, WorksheetCommand::SetPrinter);
    forward(mnuSetKran, WorksheetCommand::SetKran);
    forward(mnuSetPaper, WorksheetCommand::SetPaper);
    connect(mnuSaveMaster, &QAction::triggered, this, &TfrmPrint::saveMaster);
    connect(mnuClose, &QAction::triggered, this, &TfrmPrint::mnuCloseClick);
    connect(mnuEditIndex, &QAction::triggered, this, &TfrmPrint::mnuEditIndexClick);
    connect(mnuToClipBoard, &QAction::triggered, this, &TfrmPrint::mnuToClipBoardClick);
    connect(mnuKaitou, &QAction::triggered, this, &TfrmPrint::mnuKaitouClick);
    connect(mnuFile, &QMenu::aboutToShow, this, &TfrmPrint::mnuFilePopup);
    connect(mnuShow, &QMenu::aboutToShow, this, &TfrmPrint::mnuShowPopup);
}

void TfrmPrint::mnuFilePopup() {
    mnuSaveMaster->setEnabled(m_worksheet.isMaster && !m_worksheet.isCopy);
}

void TfrmPrint::mnuShowPopup() {
    mnuKaitou->setEnabled(m_host.answerDisplayEnabled());
    mnuKaitou->setChecked(m_host.answerDisplay());
}

void TfrmPrint::mnuCloseClick() {
    // Inside the frame the child window closes, which closes this window and asks first.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void TfrmPrint::mnuEditIndexClick() {
    // The index editor needs every worksheet closed, and this one is open.
    m_host.prompter().message(sjis("開いているファイルをすべて閉じてください"));
}

void TfrmPrint::mnuToClipBoardClick() {
    if (!m_image.isNull()) QGuiApplication::clipboard()->setImage(m_image);
}

void TfrmPrint::mnuKaitouClick() {
    m_host.runCommand(WorksheetCommand::ToggleAnswers);
    mnuKaitou->setChecked(m_host.answerDisplay());
}

void TfrmPrint::setCaption(const std::string& cp932) {
    m_captionBytes = cp932;
    // Paths are built with "\" between their parts; the user sees them in the system's form.
    setWindowTitle(ToQString(NativeSeparators(cp932)));
}

void TfrmPrint::LoadPictures() {
    int lesson = m_worksheet.address.lesson < 1 ? 1 : m_worksheet.address.lesson;
    m_pictures = LoadSheetPictures(m_worksheet, m_host.programFolder(), m_host.figureFolder(lesson),
                                   &m_host.prompter());
}

void TfrmPrint::Redraw() {
    redraw(ViewOf(m_host));
}

void TfrmPrint::Redraw(bool answersShown) {
    ScreenView view = ViewOf(m_host);
    view.answersShown = answersShown;
    redraw(view);
}

void TfrmPrint::RedrawBehind() {
    ScreenView view = ViewOf(m_host);
    // The range of the size control, which takes this size when the sheet comes to the front.
    view.questionSize = std::clamp(m_worksheet.params.FontSize, 8, 50);
    redraw(view);
}

void TfrmPrint::redraw(const ScreenView& view) {
    SheetShared& shared = m_host.sheetShared();
    if (!shared.redrawEnabled) return;
    RenderOutput output;
    RenderInputs inputs = ScreenInputs(m_worksheet, view, m_pictures);
    inputs.stamp.numberText = m_host.numberText();
    QImage image = RenderSheetImage(m_worksheet, inputs, shared, &output);
    if (!output.drawn) return;
    m_image = std::move(image);
    m_display = m_image;
    const double ratio = Image1->devicePixelRatioF();
    if (ratio != 1 && !m_host.shrunk()) {
        // Drawn again at the screen's density, on copies: the pass above has recorded the
        // blanks and figures, and this one must not record them twice.
        Worksheet copy = m_worksheet;
        SheetShared sharedCopy = shared;
        QImage sharp = RenderSheetImage(copy, inputs, sharedCopy, nullptr, 1, ratio);
        if (!sharp.isNull()) m_display = std::move(sharp);
    }
    m_figures = std::move(output.figures);
    if (output.figuresWrittenBack && !m_host.learnerMode()) m_worksheet.modified = true;
    m_answersShown = view.answersShown;
    mnuKaitou->setChecked(view.answersShown);

    if (m_host.shrunk()) {
        // The reduced view fits the whole sheet into the panel's height; on a screen taller than
        // the sheet it shows the sheet as it is rather than enlarged.
        int h = m_host.panelHeight() - 36;
        int w = static_cast<int>(std::lround(h / std::sqrt(2.0)));
        const QSize fitted = m_image.size().scaled(w, h, Qt::KeepAspectRatio);
        Image2->setPixmap(QPixmap::fromImage(
            fitted.width() >= m_image.width()
                ? m_image
                : m_image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
        Image1->hide();
        Image2->show();
    } else {
        showSheet();
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

bool TfrmPrint::saveMaster() {
    return OverwriteMaster(m_worksheet, m_host.prompter()) == MasterSaveStatus::Saved;
}

bool TfrmPrint::saveAsCopy() {
    return saveCopy() == SaveOutcome::Saved;
}

TfrmPrint::SaveOutcome TfrmPrint::saveCopy() {
    SaveDialogWatch watch(m_host.prompter());
    // The dialog opens in the lesson's copy folder, where the copy-file dialog lists them.
    const std::optional<std::string> saved = SaveWorksheetAsCopy(
        m_worksheet, std::nullopt, m_host.copyFileFolder(m_worksheet.address.lesson), watch);
    if (!saved) return watch.cancelled ? SaveOutcome::Cancelled : SaveOutcome::Failed;
    const QString oldIdentity = m_identity;
    m_identity = ToQString(*saved);
    setCaption(*saved);
    m_host.worksheetRenamed(this, oldIdentity);
    return SaveOutcome::Saved;
}

bool TfrmPrint::FormCloseQuery() {
    if (!m_worksheet.modified) return true;
    // Activating another window while the close query runs must not refill the controls from it.
    ScopedFlag paused(m_host.sheetShared().activationFillEnabled, false);
    const std::string caption =
        FromQStringKeeping(windowTitle(), NativeSeparators(m_captionBytes)).value_or(std::string());
    switch (m_host.prompter().yesNoCancel(caption + sjis("を保存しますか？"))) {
        case Answer::No:
            return true;
        case Answer::Cancel:
            return false;
        case Answer::Yes:
            break;
    }
    if (m_worksheet.isMaster && !m_worksheet.isCopy) return saveMaster();
    // A cancelled save dialog is the user's choice to close unsaved; a save that failed keeps
    // the window, so the changes are still there to save elsewhere.
    return saveCopy() != SaveOutcome::Failed;
}

void TfrmPrint::closeEvent(QCloseEvent* event) {
    if (m_closed) {
        event->accept();
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    m_closed = true;
    m_gesture = Gesture::None;
    // The main window's copy buttons must not go on pointing at a region of a closed sheet.
    if (m_selection) {
        m_selection.reset();
        m_host.regionCleared();
    }
    m_host.worksheetClosing(this);
    event->accept();
}

bool TfrmPrint::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                Image1MouseDown(static_cast<QMouseEvent*>(event));
                return true;
            case QEvent::MouseMove:
                Image1MouseMove(static_cast<QMouseEvent*>(event));
                return true;
            case QEvent::MouseButtonRelease:
                Image1MouseUp(static_cast<QMouseEvent*>(event));
                return true;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QPoint TfrmPrint::onSheet(QPoint point) const {
    return {std::clamp(point.x(), 0, std::max(0, m_image.width() - 1)),
            std::clamp(point.y(), 0, std::max(0, m_image.height() - 1))};
}

int TfrmPrint::figureAt(QPoint point) const {
    // Later figures are drawn over earlier ones, so the last one under the pointer is on top.
    for (int i = kFigurePlaces - 1; i >= 0; --i) {
        const FigurePlace& f = m_figures.places[static_cast<std::size_t>(i)];
        if (!f.visible || f.width <= 0 || f.height <= 0) continue;
        if (QRect(f.left, f.top, f.width, f.height).contains(point)) return i;
    }
    return -1;
}

void TfrmPrint::Image1MouseDown(QMouseEvent* event) {
    if (m_image.isNull() || m_gesture != Gesture::None) return;
    const QPoint point = onSheet(event->position().toPoint());
    const int figure = figureAt(point);
    if (figure >= 0 && event->button() == Qt::LeftButton) {
        if (m_host.learnerMode()) return;
        m_gesture = Gesture::MovingFigure;
        m_movingFigure = figure;
        m_pressPoint = m_pointer = point;
        showSheet();
    } else if (figure >= 0 && event->button() == Qt::RightButton) {
        const FigurePlace& f = m_figures.places[static_cast<std::size_t>(figure)];
        // One unit outside the picture on every side.
        m_selection = Frame{{f.left - 1, f.top - 1}, {f.left + f.width, f.top + f.height}};
        showSheet();
        m_host.regionSelected(m_selection->from.x(), m_selection->from.y(), m_selection->to.x(),
                              m_selection->to.y());
    } else if (figure < 0 && event->button() == Qt::LeftButton) {
        if (m_selection) {
            m_selection.reset();
            showSheet();
        }
        m_host.regionCleared();
        m_gesture = Gesture::Framing;
        m_pressPoint = m_pointer = point;
    }
}

void TfrmPrint::Image1MouseMove(QMouseEvent* event) {
    if (m_gesture == Gesture::None) return;
    m_pointer = onSheet(event->position().toPoint());
    showSheet();
}

void TfrmPrint::Image1MouseUp(QMouseEvent* event) {
    if (m_gesture == Gesture::None || event->button() != Qt::LeftButton) return;
    m_pointer = onSheet(event->position().toPoint());
    const Gesture gesture = std::exchange(m_gesture, Gesture::None);
    const QPoint travel = m_pointer - m_pressPoint;
    if (gesture == Gesture::MovingFigure && !travel.isNull()) {
        moveFigure(m_movingFigure, travel);
    } else if (gesture == Gesture::Framing && !travel.isNull()) {
        m_selection = Frame{m_pressPoint, m_pointer};
        m_host.regionSelected(m_pressPoint.x(), m_pressPoint.y(), m_pointer.x(), m_pointer.y());
    }
    showSheet();
}

void TfrmPrint::moveFigure(int place, QPoint travel) {
    // Place n shows question figure n + 1, or the answer figure standing in its place; either way
    // the place itself is what moves, and its position lives in the question triple.
    const FigurePlace& f = m_figures.places[static_cast<std::size_t>(place)];
    std::vector<std::string>& triples = m_worksheet.content.questionFigures;
    const std::size_t line = 3 * static_cast<std::size_t>(place) + 1;
    if (line + 1 >= triples.size()) return;
    // A left below 1 reads as "not placed yet" and would send the figure back to its automatic
    // place.
    triples[line] = IntText(std::max(1, f.left + travel.x()));
    triples[line + 1] = IntText(std::max(0, f.top + travel.y()));
    m_worksheet.modified = true;
    Redraw();
}

void TfrmPrint::EraseSelection() {
    if (!m_selection) return;
    m_selection.reset();
    showSheet();
}

void TfrmPrint::showSheet() {
    if (m_image.isNull()) return;
    const bool moving = m_gesture == Gesture::MovingFigure;
    const bool framing = m_gesture == Gesture::Framing && m_pointer != m_pressPoint;
    if (!moving && !framing && !m_selection) {
        Image1->setPixmap(QPixmap::fromImage(m_display));
        return;
    }
    // A painter on an image of a high-density screen draws in sheet units by itself.
    QImage shown = m_display.convertToFormat(QImage::Format_RGB32);
    {
        QPainter painter(&shown);
        // White XOR inverts, so the frames show on any picture under them.
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        if (m_selection) DrawFrame(painter, m_selection->from, m_selection->to, Qt::DotLine);
        if (framing) DrawFrame(painter, m_pressPoint, m_pointer, Qt::DotLine);
        if (moving) {
            const FigurePlace& f = m_figures.places[static_cast<std::size_t>(m_movingFigure)];
            const QPoint topLeft = QPoint(f.left, f.top) + (m_pointer - m_pressPoint);
            DrawFrame(painter, topLeft, topLeft + QPoint(f.width - 1, f.height - 1), Qt::SolidLine);
        }
    }
    Image1->setPixmap(QPixmap::fromImage(shown));
}

}  // namespace sulkan
