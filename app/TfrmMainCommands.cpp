// The main window's commands: opening units into worksheet windows, closing them, the answer
// display, the Window menu, adding units to a worksheet, and the save and copy panels.
#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <algorithm>

#include "CopyFileOpen.h"
#include "CopyFileSave.h"
#include "CourseTree.h"
#include "FileChecks.h"
#include "LineFile.h"
#include "MenuMerge.h"
#include "QtText.h"
#include "Sjis.h"
#include "TfrmDummy.h"
#include "TfrmEditQues.h"
#include "TfrmInputName.h"
#include "TfrmMain.h"
#include "TfrmMenu.h"
#include "TfrmOpenSKN.h"
#include "TfrmPrint.h"
#include "TfrmPrintMode.h"
#include "TfrmPrintOk.h"
#include "TfrmSetPaper.h"
#include "TfrmSettei.h"
#include "UnitOpen.h"

namespace sulkan {

void TfrmMain::connectCommands() {
    connect(btnLock, &QPushButton::clicked, this, &TfrmMain::btnLockClick);
    connect(btnKaitou, &QPushButton::clicked, this, &TfrmMain::btnKaitouClick);
    connect(btnOpenMaster, &QPushButton::clicked, this, &TfrmMain::btnOpenMasterClick);
    connect(mnuOpenMaster, &QAction::triggered, this, &TfrmMain::btnOpenMasterClick);
    connect(btnFpClose, &QPushButton::clicked, this, &TfrmMain::btnFpCloseClick);
    connect(btnSave, &QPushButton::clicked, this, &TfrmMain::btnSaveClick);
    connect(btnKran, &QPushButton::clicked, this, &TfrmMain::btnKranClick);
    connect(btnStartPrint, &QPushButton::clicked, this, &TfrmMain::btnStartPrintClick);
    connect(btnSaveMaster, &QPushButton::clicked, this, &TfrmMain::btnSaveMasterClick);
    connect(btnSaveCopy, &QPushButton::clicked, this, &TfrmMain::btnSaveCopyClick);
    connect(btnCopy, &QPushButton::clicked, this, &TfrmMain::btnCopyClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmMain::btnCancelClick);
    // Moving the mouse away from the save panel hides it again.
    for (QWidget* w :
         std::initializer_list<QWidget*>{pnlMain, centralWidget(), mdiArea->viewport(),
                                         btnStartPrint, btnKran, btnSaveCopy, btnSaveMaster}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    connect(btnOpenCopy, &QPushButton::clicked, this, [this] { OpenCopyFile(); });
    connect(mnuOpenCopy, &QAction::triggered, this, [this] { OpenCopyFile(); });
    connect(btnAdd, &QPushButton::clicked, this, &TfrmMain::btnAddClick);
    connect(btnTest, &QPushButton::clicked, this, &TfrmMain::btnTestClick);
    connect(btnEdit, &QPushButton::clicked, this, &TfrmMain::btnEditClick);
    connect(btnEditMaster, &QPushButton::clicked, this, &TfrmMain::btnEditClick);
    connect(btnLogOn, &QPushButton::clicked, this, [this] {
        frmInputName->exec();
        FocusMain();
    });
    connect(chkBekkai, &QCheckBox::clicked, this, &TfrmMain::chkBekkaiClick);
    connect(chkKaiSize, &QCheckBox::clicked, this, &TfrmMain::chkKaiSizeClick);
    connect(spnGyouSpace, &QSpinBox::valueChanged, this,
            [this](int v) { spnLayoutChange(&LayoutParams::LineSpacing, v); });
    connect(spnMojiSize, &QSpinBox::valueChanged, this,
            [this](int v) { spnLayoutChange(&LayoutParams::FontSize, v); });
    connect(mnuMainWin, &QMenu::aboutToShow, this, &TfrmMain::mnuMainWinPopup);
    connect(mnuMaximize, &QAction::triggered, this, &TfrmMain::mnuMaximizeClick);
    connect(mnuCloseAllWIndows, &QAction::triggered, this, &TfrmMain::mnuCloseAllWIndowsClick);
    connectLayoutControls();
}

QMdiSubWindow* TfrmMain::subWindowOf(const TfrmPrint* window) const {
    for (QMdiSubWindow* sub : mdiArea->subWindowList())
        if (sub->widget() == window) return sub;
    return nullptr;
}

void TfrmMain::redrawActive() {
    if (TfrmPrint* w = activeWorksheet()) w->Redraw();
}

void TfrmMain::MarkWorksheetModified() {
    // A learner's changes (such as "解を大きくする") are for the screen only: marking them would
    // make closing offer to overwrite the question file, a teacher's command.
    if (m_state.LearnerMode) return;
    if (TfrmPrint* w = activeWorksheet()) w->worksheet().modified = true;
}

void TfrmMain::ClearWorksheetModified() {
    if (TfrmPrint* w = activeWorksheet()) w->worksheet().modified = false;
}

void TfrmMain::btnOpenMasterClick() {
    OpenMasterUnit();
    FocusMain();
}

UnitOpenRequest TfrmMain::selectedUnit(const UnitAddress& address) const {
    UnitOpenRequest request;
    request.address = address;
    request.titles = selectedTitles();
    return request;
}

UnitTitles TfrmMain::selectedTitles() const {
    return {m_state.SelectedLessonName, m_state.SelectedSectionName, m_state.SelectedUnitName};
}

bool TfrmMain::OpenMasterUnit() {
    pnlSave->hide();
    pnlEdit->hide();
    if (!FileCheck(m_prompter, CourseIndexPath(m_state.ProgramFolder))) return false;
    frmMenu->setMode(QStringLiteral("Open"));
    if (frmMenu->exec() != QDialog::Accepted) return false;

    // A unit opens with its answers shown. Only the new worksheet takes that: the display of the
    // sheets on screen changes when it becomes the active one, and not at all when nothing opens
    // (a sheet shown without answers would otherwise be printed with them).
    m_newSheetAnswers = m_state.AnswerDisplayMode == 0 ? true : m_answerDisplay;
    struct Reset {
        std::optional<bool>& flag;
        ~Reset() { flag.reset(); }
    } reset{m_newSheetAnswers};
    OpenResult result = OpenUnitWorksheet(m_state.CurrentUnit, false);
    if (result == OpenResult::UnitMissing &&
        ConfirmYesNo(m_prompter, sjis("単元がありません\r\n新規作成しますか?")) == Answer::Yes &&
        EditQuestions(m_state.CurrentUnit, true)) {
        result = OpenUnitWorksheet(m_state.CurrentUnit, false);
        if (result == OpenResult::Opened) {
            tickPaperRadio(kA4);
            ApplyPaper(m_state.PaperTable[kA4]);
        }
    }
    bool opened = result == OpenResult::Opened;
    if (opened) ClearWorksheetModified();
    FocusMain();
    return opened;
}

OpenResult TfrmMain::OpenUnitWorksheet(const UnitAddress& address, bool reload) {
    const UnitSource source = FindUnitSource(m_state.ProgramFolder, m_state.Course, address);
    m_state.LastWorksheetKey = source.files.identity;
    m_state.LastWorksheetShortKey = source.files.shortIdentity;
    if (source.status == UnitOpenStatus::Missing) return OpenResult::UnitMissing;
    if (source.status == UnitOpenStatus::Failed) {
        m_prompter.message(source.problem->message);
        return OpenResult::ReadFailed;
    }

    const QString identity = ToQString(source.files.identity);
    int line = FindOpenWorksheet(identity);
    if (line >= 0 && !reload) {
        m_prompter.message(sjis("すでに読み込まれています"));
        ActivateOpenWorksheet(line);
        return OpenResult::AlreadyOpen;
    }
    if (line >= 0 && reload) {
        ClearWorksheetModified();
        if (QMdiSubWindow* sub = subWindowOf(activeWorksheet())) sub->close();
    }

    UnitOpenRequest request = selectedUnit(address);
    request.choices = {m_newSheetAnswers.value_or(m_answerDisplay), m_state.PaperFixed,
                       m_state.CurrentPaper.width};
    UnitOpen open = OpenUnit(source.files, request, m_holding, m_shared);
    if (open.status == UnitOpenStatus::Missing) return OpenResult::UnitMissing;
    if (open.status == UnitOpenStatus::Failed) {
        // It is there but cannot be read or is damaged: it is reported as it is, since offering
        // to create it anew would overwrite it.
        m_prompter.message(open.problem->message);
        return OpenResult::ReadFailed;
    }
    addWorksheetWindow(std::move(*open.worksheet), identity)->setCaption(source.files.identity);
    return OpenResult::Opened;
}

TfrmPrint* TfrmMain::addWorksheetWindow(Worksheet worksheet, const QString& identity) {
    auto* window = new TfrmPrint(m_sheetHost, std::move(worksheet));
    window->setIdentity(identity);
    window->setWindowTitle(identity);
    // The frame's own items that the worksheet's File menu lacks stay at hand while it stands in
    // for the frame's File menu.
    window->mnuFile->insertActions(window->mnuSaveMaster, {mnuOpenCopy, mnuClassRecords});
    QMdiSubWindow* sub = mdiArea->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    TakeFrameCloseKey(sub);
    SetLearnerFrame(sub, m_state.LearnerMode);
    lstWindow->addItem(identity);
    ++m_state.OpenWorksheetCount;
    window->LoadPictures();
    sub->show();
    mdiArea->setActiveSubWindow(sub);
    return window;
}

bool TfrmMain::OpenCopyFile() {
    pnlSave->hide();
    pnlEdit->hide();
    auto path = ChooseCopyFilePath(
        [this]() -> std::optional<std::string> {
            if (frmOpenSKN->exec() != QDialog::Accepted) return std::nullopt;
            return frmOpenSKN->chosenPath();
        },
        m_prompter);
    if (!path) {
        FocusMain();
        return false;
    }
    return openCopyFile(*path, frmOpenSKN->chosenLesson());
}

bool TfrmMain::OpenCopyFileAt(const std::string& path) {
    pnlSave->hide();
    pnlEdit->hide();
    int lesson = 1;
    if (const auto index = LoadCourseIndex(m_state.ProgramFolder, m_prompter))
        lesson = LessonOfCopyFile(m_state.ProgramFolder, *index, path);
    return openCopyFile(path, lesson);
}

bool TfrmMain::openCopyFile(std::string path, int lesson) {
    // One spelling per file, so that the same copy is recognised however it was reached.
    path = NativeSeparators(path);
    const QString identity = ToQString(path);
    if (int line = FindOpenWorksheet(identity); line >= 0) {
        m_prompter.message(sjis("すでに読み込まれています"));
        ActivateOpenWorksheet(line);
        return false;
    }
    m_state.LastWorksheetKey = path;
    m_state.LastWorksheetShortKey = path;
    // The worksheet belongs to the lesson whose folder holds the file: its figures and its
    // saves go there.
    CopyOpenOptions options{lesson,
                            {m_answerDisplay, m_state.PaperFixed, m_state.CurrentPaper.width}};
    CopyFileRead read = ReadCopyFile(path, options, m_holding, m_shared);
    if (!read.worksheet) {
        m_prompter.message(read.problem->message);
        return false;
    }
    m_answerDisplay = true;
    btnKaitou->setIcon(QIcon(imgRED->pixmap()));
    addWorksheetWindow(std::move(*read.worksheet), identity)->setCaption(path);
    FocusMain();
    return true;
}

int TfrmMain::FindOpenWorksheet(const QString& identity) const {
    for (int i = 0; i < lstWindow->count(); ++i)
        if (lstWindow->item(i)->text() == identity) return i;
    return -1;
}

void TfrmMain::ActivateOpenWorksheet(int line) {
    if (line < 0 || line >= lstWindow->count()) return;
    const QString identity = lstWindow->item(line)->text();
    for (QMdiSubWindow* sub : mdiArea->subWindowList()) {
        auto* sheet = qobject_cast<TfrmPrint*>(sub->widget());
        if (sheet && sheet->identity() == identity) {
            mdiArea->setActiveSubWindow(sub);
            sub->raise();
            return;
        }
    }
}

void TfrmMain::btnFpCloseClick() {
    pnlMain->setFocus();
    if (QMdiSubWindow* sub = subWindowOf(activeWorksheet())) sub->close();
}

void TfrmMain::btnKaitouClick() {
    m_answerDisplay = !m_answerDisplay;
    btnKaitou->setIcon(QIcon(m_answerDisplay ? imgRED->pixmap() : imgDRED->pixmap()));
    // Every open sheet shows the answers or none does. A sheet's answers are written from the
    // blank table its own drawing fills, but the table (with its grades) and the text places
    // belong to the active sheet: they are put back after the others have been drawn.
    TfrmPrint* active = activeWorksheet();
    const BlankTable blanks = m_shared.blanks;
    const std::vector<TextPieceStart> pieces = m_shared.textPieceStarts;
    for (QMdiSubWindow* sub : mdiArea->subWindowList()) {
        auto* sheet = qobject_cast<TfrmPrint*>(sub->widget());
        if (!sheet || sheet == active) continue;
        sheet->worksheet().params.ShowAnswers = m_answerDisplay;
        ScopedFlag record(m_shared.blankRecording, true);
        sheet->RedrawBehind();
    }
    m_shared.blanks = blanks;
    m_shared.textPieceStarts = pieces;
    if (active) {
        active->worksheet().params.ShowAnswers = m_answerDisplay;
        active->Redraw();
    }
    FocusMain();
}

void TfrmMain::chkBekkaiClick() {
    redrawActive();
}

void TfrmMain::chkKaiSizeClick() {
    if (!activeWorksheet()) return;
    redrawActive();
    MarkWorksheetModified();
}

void TfrmMain::spnLayoutChange(int LayoutParams::*field, int value) {
    TfrmPrint* w = activeWorksheet();
    if (!w || !m_shared.redrawEnabled) return;
    w->worksheet().params.*field = value;
    w->Redraw();
    MarkWorksheetModified();
}

void TfrmMain::mnuMainWinPopup() {
    bool any = m_state.OpenWorksheetCount > 0;
    for (QAction* a : {mnuMaximize, mnuTile, mnuCascade, mnuCloseAllWIndows}) a->setEnabled(any);
    // The list of open child windows follows the commands.
    for (QAction* a : m_windowListActions) {
        mnuMainWin->removeAction(a);
        a->deleteLater();
    }
    m_windowListActions.clear();
    int n = 0;
    for (QMdiSubWindow* sub : mdiArea->subWindowList()) {
        if (!sub->isVisible() || !sub->widget()) continue;
        QAction* a = mnuMainWin->addAction(
            QStringLiteral("&%1 %2").arg(++n).arg(sub->widget()->windowTitle()));
        a->setCheckable(true);
        a->setChecked(sub == mdiArea->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, sub] { mdiArea->setActiveSubWindow(sub); });
        m_windowListActions.append(a);
    }
}

void TfrmMain::mnuMaximizeClick() {
    if (QMdiSubWindow* sub = subWindowOf(activeWorksheet())) sub->showMaximized();
}

void TfrmMain::mnuCloseAllWIndowsClick() {
    pnlMain->setFocus();
    lstDummyX->clear();
    for (int i = 0; i < lstWindow->count(); ++i) lstDummyX->addItem(lstWindow->item(i)->text());
    for (int i = 0; i < lstDummyX->count(); ++i) {
        const QString identity = lstDummyX->item(i)->text();
        for (QMdiSubWindow* sub : mdiArea->subWindowList()) {
            auto* sheet = qobject_cast<TfrmPrint*>(sub->widget());
            if (sheet && sheet->identity() == identity) {
                sub->close();
                break;
            }
        }
    }
}

void TfrmMain::btnAddClick() {
    TfrmPrint* w = activeWorksheet();
    if (!w) {
        m_prompter.message(NoWorksheetToAddToMessage());
        return;
    }
    Worksheet& sheet = w->worksheet();
    FillHoldingFromWorksheet(sheet, m_holding);
    if (sheet.content.questionFigures.size() >= 3 * kMaxFiguresToAdd) {
        m_prompter.message(NoMoreAdditionsMessage());
        return;
    }
    frmMenu->setMode(QStringLiteral("Add"));
    int accepted = frmMenu->exec();
    frmMenu->setMode(QStringLiteral("Open"));
    if (accepted != QDialog::Accepted) return;

    const UnitAddress& chosen = m_state.CurrentUnit;
    const UnitSource source = FindUnitSource(m_state.ProgramFolder, m_state.Course, chosen);
    if (source.status == UnitOpenStatus::Failed) {
        m_prompter.message(source.problem->message);
        return;
    }
    const bool exists = source.status == UnitOpenStatus::Opened;
    const auto lines = exists ? ReadLines(source.files.questionFile) : std::nullopt;
    if (!lines) {
        m_prompter.message(exists ? CannotReadText(source.files.questionFile)
                                  : UnitMissingMessage());
        return;
    }
    ReadRequest request = ReadRequestOf(ReadKind::AddUnit, selectedUnit(chosen));
    request.target = AddTargetOf(sheet);
    const Result<> added = AddUnitToWorksheet(sheet, *lines, request, m_holding, m_shared);
    if (!added) {
        m_prompter.message(added.problem().message);
        return;
    }
    // The window keeps its identity in the open-window list; the caption shows the new title.
    w->setCaption(sheet.content.title);
    w->LoadPictures();
    w->Redraw();
}

bool TfrmMain::EditQuestions(const UnitAddress& address, bool newUnit) {
    QuesEditRequest request;
    request.programFolder = m_state.ProgramFolder;
    request.course = &m_state.Course;
    request.address = address;
    request.newUnit = newUnit;
    request.worksheet = activeWorksheet() ? &activeWorksheet()->worksheet() : nullptr;
    request.textPieces = m_shared.textPieceStarts;
    request.view = ViewOf(m_sheetHost);
    request.titles = selectedTitles();
    return frmEditQues->showFor(request) == QDialog::Accepted;
}

void TfrmMain::btnEditClick() {
    TfrmPrint* window = activeWorksheet();
    if (!window) return;
    hidePopupPanels();
    // A copy file is no unit of a question file: there is nothing to edit in place.
    if (window->worksheet().isCopy) return;
    if (EditQuestions(window->worksheet().address, false)) {
        const UnitAddress address = frmEditQues->editedAddress();
        if (OpenUnitWorksheet(address, true) == OpenResult::Opened) ClearWorksheetModified();
    }
    FocusMain();
}

void TfrmMain::hidePopupPanels() {
    pnlSave->hide();
    pnlEdit->hide();
}

void TfrmMain::btnStartPrintClick() {
    if (TfrmPrint* w = activeWorksheet()) frmPrintOk->showFor(w);
    FocusMain();
}

void TfrmMain::btnKranClick() {
    if (TfrmPrint* w = activeWorksheet()) frmSettei->openFor(w);
    FocusMain();
}

void TfrmMain::btnSaveClick() {
    TfrmPrint* w = activeWorksheet();
    if (!w) return;
    const Worksheet& sheet = w->worksheet();
    btnSaveMaster->setEnabled(sheet.isMaster && !sheet.isCopy);
    QPoint at = btnSave->mapTo(this, QPoint(0, 0));
    pnlSave->move(at.x() + btnSave->width() - 30, at.y() - 5);
    pnlSave->raise();
    pnlSave->show();
}

void TfrmMain::btnSaveMasterClick() {
    hidePopupPanels();
    if (TfrmPrint* w = activeWorksheet()) w->saveMaster();
    FocusMain();
}

void TfrmMain::btnSaveCopyClick() {
    hidePopupPanels();
    if (TfrmPrint* w = activeWorksheet()) w->saveAsCopy();
    FocusMain();
}

void TfrmMain::btnCopyClick() {
    TfrmPrint* w = activeWorksheet();
    if (!w || m_copyRegion.isNull()) return;
    // Corners in either order; the frame lines themselves are not copied.
    int left = std::min(m_copyRegion.left(), m_copyRegion.right());
    int right = std::max(m_copyRegion.left(), m_copyRegion.right());
    int top = std::min(m_copyRegion.top(), m_copyRegion.bottom());
    int bottom = std::max(m_copyRegion.top(), m_copyRegion.bottom());
    QRect inner(left + 1, top + 1, right - left - 2, bottom - top - 2);
    QImage region = w->sheetImage().copy(inner);
    if (!region.isNull()) QGuiApplication::clipboard()->setImage(region);
    w->EraseSelection();
    regionCleared();
}

void TfrmMain::btnCancelClick() {
    if (TfrmPrint* w = activeWorksheet()) w->EraseSelection();
    regionCleared();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        if (watched == btnSaveCopy || (watched == btnSaveMaster && btnSaveMaster->isEnabled())) {
            static_cast<QWidget*>(watched)->setFocus();
        } else if (event->type() == QEvent::MouseMove &&
                   !pnlSave->geometry().contains(mapFromGlobal(QCursor::pos()))) {
            hidePopupPanels();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // Every worksheet asks about its unsaved changes; one that stays open keeps the program open.
    mdiArea->closeAllSubWindows();
    for (QMdiSubWindow* sub : mdiArea->subWindowList()) {
        if (qobject_cast<TfrmPrint*>(sub->widget())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

}  // namespace sulkan
