#include "TfrmMain.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include "ContainedPath.h"
#include "FileChecks.h"
#include "Help.h"
#include "LayoutParams.h"
#include "LineFile.h"
#include "MenuMerge.h"
#include "Named.h"
#include "Pictures.h"
#include "QtText.h"
#include "RecordFile.h"
#include "RecordSources.h"
#include "RecordStore.h"
#include "RecordsCommand.h"
#include "Settings.h"
#include "Sjis.h"
#include "Startup.h"
#include "SystemFolders.h"
#include "TextRoutines.h"
#include "TfrmClassRecords.h"
#include "TfrmDoYouKnow.h"
#include "TfrmDummy.h"
#include "TfrmEditIndex.h"
#include "TfrmEditQues.h"
#include "TfrmInputName.h"
#include "TfrmKiroku.h"
#include "TfrmMenu.h"
#include "TfrmOpenSKN.h"
#include "TfrmPrint.h"
#include "TfrmPrintMode.h"
#include "TfrmPrintOk.h"
#include "TfrmSetPaper.h"
#include "TfrmSettei.h"
#include "TfrmZenTangen.h"
#include "UnitMarks.h"
#include "Widgets.h"

namespace sulkan {
namespace {

constexpr int kPanelWidth = 113;

QLabel* ImageHolder(Picture picture, const char* name, QWidget* parent) {
    auto* l = Named(new QLabel(parent), name);
    l->setPixmap(MakePicture(picture));
    l->hide();
    return l;
}

}  // namespace

TfrmMain::TfrmMain(const AppServices& services, QWidget* parent)
    : QMainWindow(parent),
      mdiArea(Named(new QMdiArea, "mdiArea")),
      m_settings(*services.settings),
      m_prompter(*services.prompter) {
    setObjectName(QStringLiteral("TfrmMain"));
    setWindowTitle(QStringLiteral("Sulkan++"));
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);

    m_state.ProgramFolder = WithTrailingSeparator(services.workingFolder);
    m_state.HelpFileName = "SLKDRILL.HLP";

    createPanel();
    createPopupPanels();
    createValueHolders();
    createMenus();

    auto* central = new QWidget;
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(pnlMain);
    row->addWidget(mdiArea, 1);
    setCentralWidget(central);
    mdiArea->setBackground(Qt::white);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &TfrmMain::mdiAreaSubWindowActivated);

    // Top left, as wide as the screen and 28 pixels less high.
    int screenW = services.screenWidth, screenH = services.screenHeight;
    if (screenW <= 0 || screenH <= 0) {
        QRect screen = QGuiApplication::primaryScreen()->geometry();
        screenW = screen.width();
        screenH = screen.height();
    }
    setGeometry(0, 0, screenW, screenH - 28);
    m_state.ChildAreaWidth = width() - kPanelWidth - 10;
    m_state.PanelHeight = height() - menuBar()->sizeHint().height();
    m_state.MainFontName = sjis("ＭＳ 明朝");

    createWindows();
    createHelpWindows();
    connectCommands();
}

TfrmMain::~TfrmMain() {
    // Destroying the window closes it, which hides and activates child windows: those signals must
    // not reach the parts of this window that are already gone.
    mdiArea->blockSignals(true);
    mdiArea->disconnect(this);
}

void TfrmMain::createPanel() {
    pnlMain = Named(new QFrame, "pnlMain");
    pnlMain->setFixedWidth(kPanelWidth);
    pnlMain->setAutoFillBackground(true);
    QPalette ivory = pnlMain->palette();
    ivory.setColor(QPalette::Window, QColor(255, 255, 240));
    pnlMain->setPalette(ivory);

    btnLock = Button(QStringLiteral("先生用"), "btnLock");
    btnLock->setToolTip(QStringLiteral("編集機能のON/OFF"));
    btnFpClose = Button(QStringLiteral("閉じる"), "btnFpClose");
    btnFpClose->setToolTip(QStringLiteral("閉じる"));
    btnOpenMaster = Button(QStringLiteral("開  く "), "btnOpenMaster");
    btnAdd = Button(QStringLiteral("追  加 "), "btnAdd");
    btnAdd->setToolTip(QStringLiteral("開いているシートに単元を追加 (Ctrl+Shift+O)"));
    btnSave = Button(QStringLiteral("保　存　"), "btnSave");
    btnStartPrint = Button(QStringLiteral("印　刷　"), "btnStartPrint");
    btnEdit = Button(QStringLiteral("編　集　"), "btnEdit");
    btnTest = Button(QStringLiteral("学　習"), "btnTest");
    btnLogOn = Button(QStringLiteral("学習者"), "btnLogOn");
    edtLogOnName = Named(new QLineEdit, "edtLogOnName");
    edtLogOnName->setReadOnly(true);
    btnKaitou = Button(QStringLiteral("解答表示"), "btnKaitou");
    chkBekkai = Named(new QCheckBox(QStringLiteral("別解表示")), "chkBekkai");
    chkBekkai->setChecked(true);
    btnKran = Button(QStringLiteral("解答欄　"), "btnKran");
    lblGyouSpace = Named(new QLabel(QStringLiteral("主行間")), "lblGyouSpace");
    spnGyouSpace = Named(new QSpinBox, "spnGyouSpace");
    spnGyouSpace->setRange(-5, 200);
    spnGyouSpace->setValue(30);
    lblMojiSize = Named(new QLabel(QStringLiteral("サイズ")), "lblMojiSize");
    spnMojiSize = Named(new QSpinBox, "spnMojiSize");
    spnMojiSize->setRange(8, 50);
    spnMojiSize->setValue(10);
    chkKaiSize = Named(new QCheckBox(QStringLiteral("解を大きくする")), "chkKaiSize");

    pnlCopy = Named(new QFrame, "pnlCopy");
    pnlCopy->setFrameShape(QFrame::StyledPanel);
    btnCopy = Button(QStringLiteral("コピー"), "btnCopy");
    btnCancel = Button(QStringLiteral("キャンセル"), "btnCancel");
    btnCopy->setEnabled(false);
    btnCancel->setEnabled(false);
    auto* copyBox = new QVBoxLayout(pnlCopy);
    copyBox->setContentsMargins(4, 4, 4, 4);
    copyBox->addWidget(btnCopy);
    copyBox->addWidget(btnCancel);

    auto* column = new QVBoxLayout(pnlMain);
    column->setContentsMargins(6, 6, 6, 6);
    for (QWidget* w : std::initializer_list<QWidget*>{
             btnLock, btnFpClose, btnOpenMaster, btnAdd, btnSave, btnStartPrint, btnEdit, btnTest,
             btnLogOn, edtLogOnName, btnKaitou, chkBekkai, btnKran, lblGyouSpace, spnGyouSpace,
             lblMojiSize, spnMojiSize, chkKaiSize, pnlCopy})
        column->addWidget(w);
    column->addStretch();
}

void TfrmMain::createPopupPanels() {
    auto makePanel = [this](const char* name, QPushButton* first, QPushButton* second) {
        auto* panel = Named(new QFrame(this), name);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Raised);
        panel->setAutoFillBackground(true);
        auto* box = new QVBoxLayout(panel);
        box->addWidget(first);
        box->addWidget(second);
        panel->adjustSize();
        panel->hide();
        return panel;
    };
    btnSaveMaster = Button(QStringLiteral("上書き保存"), "btnSaveMaster");
    btnSaveCopy = Button(QStringLiteral("名前を付けて保存"), "btnSaveCopy");
    pnlSave = makePanel("pnlSave", btnSaveMaster, btnSaveCopy);
    btnEditMaster = Button(QStringLiteral("マスターファイルを編集"), "btnEditMaster");
    btnEditCopy = Button(QStringLiteral("コピーファイルを編集"), "btnEditCopy");
    pnlEdit = makePanel("pnlEdit", btnEditMaster, btnEditCopy);
}

void TfrmMain::createValueHolders() {
    // These controls hold values for the worksheet window's menus and the layout dialog; they
    // are never shown on the main window.
    cmbRetsuX = Named(new QComboBox(this), "cmbRetsuX");
    cmbRetsuX->addItems(
        {QStringLiteral("１列"), QStringLiteral("２列（横）"), QStringLiteral("２列（縦）")});
    spnKranWX = Named(new QSpinBox(this), "spnKranWX");
    spnKranWX->setRange(0, 500);
    spnKranWX->setValue(10);
    spnGyoukanSub = Named(new QSpinBox(this), "spnGyoukanSub");
    spnGyoukanSub->setRange(-100, 500);
    spnGyoukanSub->setValue(0);

    pnlSize = Named(new QFrame(this), "pnlSize");
    pnlSize->setAutoFillBackground(true);
    QPalette grey = pnlSize->palette();
    grey.setColor(QPalette::Window, QColor(224, 224, 224));
    pnlSize->setPalette(grey);
    radB5 = Named(new QRadioButton(QStringLiteral("B5"), pnlSize), "radB5");
    radA4 = Named(new QRadioButton(QStringLiteral("A4"), pnlSize), "radA4");
    radB4 = Named(new QRadioButton(QStringLiteral("B4"), pnlSize), "radB4");
    radA3 = Named(new QRadioButton(QStringLiteral("A3"), pnlSize), "radA3");
    auto* sizes = new QHBoxLayout(pnlSize);
    // The radios are ticked by program code only through tickPaperRadio, which keeps exactly one
    // (or, after untickPaperRadios, none) ticked.
    for (QRadioButton* r : {radB5, radA4, radB4, radA3}) {
        r->setAutoExclusive(false);
        sizes->addWidget(r);
    }
    radB5->setChecked(true);

    btnShukusho = Named(new QPushButton(QStringLiteral("縮小"), this), "btnShukusho");
    btnScroll = Named(new QPushButton(this), "btnScroll");
    btnScroll->setToolTip(QStringLiteral("スクロール"));
    btnUp = Named(new QPushButton(QStringLiteral("↑"), this), "btnUp");
    btnDown = Named(new QPushButton(QStringLiteral("↓"), this), "btnDown");
    btnLeft = Named(new QPushButton(QStringLiteral("←"), this), "btnLeft");
    btnRight = Named(new QPushButton(QStringLiteral("→"), this), "btnRight");
    btnOpenCopy = Named(new QPushButton(QStringLiteral("コピーを開く"), this), "btnOpenCopy");
    lstWindow = Named(new QListWidget(this), "lstWindow");
    lstDummyX = Named(new QListWidget(this), "lstDummyX");
    lstDefaultData = Named(new QListWidget(this), "lstDefaultData");
    for (const auto& line : DefaultLayoutLines()) lstDefaultData->addItem(ToQString(line));

    imgRED = ImageHolder(Picture::AnswerOn, "imgRED", this);
    imgDRED = ImageHolder(Picture::AnswerOff, "imgDRED", this);
    imgMaruGR = ImageHolder(Picture::Shrunk, "imgMaruGR", this);
    imgMaruYL = ImageHolder(Picture::NormalSize, "imgMaruYL", this);
    imgLockShut = ImageHolder(Picture::LockShut, "imgLockShut", this);
    imgLockOpen = ImageHolder(Picture::LockOpen, "imgLockOpen", this);

    for (QWidget* w : std::initializer_list<QWidget*>{
             cmbRetsuX, spnKranWX, spnGyoukanSub, pnlSize, btnShukusho, btnScroll, btnUp, btnDown,
             btnLeft, btnRight, btnOpenCopy, lstWindow, lstDummyX, lstDefaultData})
        w->hide();
}

void TfrmMain::createMenus() {
    mnuFile = Named(menuBar()->addMenu(QStringLiteral("ファイル(&F)")), "mnuFile");
    mnuOpenMaster = NamedAction(mnuFile, QStringLiteral("開く(&O)"), "mnuOpenMaster");
    mnuOpenMaster->setShortcut(QKeySequence::Open);
    // Copy files are opened from here too, so that a saved worksheet can be found again without
    // opening a unit first.
    mnuOpenCopy = NamedAction(mnuFile, QStringLiteral("コピーファイルを開く(&K)"), "mnuOpenCopy");
    mnuClassRecords = NamedAction(mnuFile, QStringLiteral("学級の記録(&R)"), "mnuClassRecords");
    connect(mnuClassRecords, &QAction::triggered, this,
            [this] { showClassRecords(std::max(1, m_state.CurrentUnit.lesson)); });
    mnuFile->addSeparator();
    mnuExit = NamedAction(mnuFile, QStringLiteral("終了(&X)"), "mnuExit");
    mnuExit->setShortcut(QKeySequence::Quit);
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);

    mnuEdit = Named(menuBar()->addMenu(QStringLiteral("編集(&E)")), "mnuEdit");
    mnuEditIndex = NamedAction(mnuEdit, QStringLiteral("目次作成(&C)"), "mnuEditIndex");
    mnuJuku = NamedAction(mnuEdit, QStringLiteral("学校名・塾名(&J)"), "mnuJuku");

    mnuMainWin = Named(menuBar()->addMenu(QStringLiteral("ウィンドウ(&W)")), "mnuMainWin");
    mnuMaximize = NamedAction(mnuMainWin, QStringLiteral("最大表示(&M)"), "mnuMaximize");
    mnuTile = NamedAction(mnuMainWin, QStringLiteral("タイル表示(&T)"), "mnuTile");
    mnuCascade = NamedAction(mnuMainWin, QStringLiteral("カスケード表示(&C)"), "mnuCascade");
    mnuMainWin->addSeparator();
    mnuCloseAllWIndows =
        NamedAction(mnuMainWin, QStringLiteral("すべて閉じる(&A)"), "mnuCloseAllWIndows");

    mnuHelp = Named(menuBar()->addMenu(QStringLiteral("ヘルプ(&H)")), "mnuHelp");
    mnuUsage = NamedAction(mnuHelp, QStringLiteral("使い方(&U)"), "mnuUsage");
    mnuVersion = NamedAction(mnuHelp, QStringLiteral("バージョン(&V)"), "mnuVersion");
    mnuDoYouKnow = NamedAction(mnuHelp, QStringLiteral("ご存じですか(&D)"), "mnuDoYouKnow");
    mnuHosoku = NamedAction(mnuHelp, QStringLiteral("補足"), "mnuHosoku");
    mnuHosoku->setEnabled(false);
}

void TfrmMain::createWindows() {
    // Dialogs live from start-up to exit and keep their state between showings.
    frmMenu = new TfrmMenu(m_state, m_prompter, this);
    frmMenu->ReadCourseIndexHook = [this] { return ReadCourseIndex(); };
    frmOpenSKN = new TfrmOpenSKN(m_state, m_prompter, this);
    frmInputName = new TfrmInputName(m_state, m_prompter, m_settings, this);
    frmInputName->LoggedOnHook = [this] {
        edtLogOnName->setText(ToQString(m_state.LearnerName));
        frmMenu->RecountUnitMarks();
    };
    frmMenu->LogOnHook = [this] { return frmInputName->exec() == QDialog::Accepted; };
    frmKiroku = new TfrmKiroku(m_prompter, this);
    frmMenu->ShowRecordsHook = [this] { return showRecordViewer(); };
    frmZenTangen = new TfrmZenTangen(this);
    frmMenu->ZenTangenHook = [this] {
        const ZenTangenSource source =
            ZenTangenSourceOf(m_state, std::max(1, m_state.CurrentUnit.lesson), DotDateStamp());
        frmZenTangen->setGeometry(0, 0, width(), height());
        frmZenTangen->showFor(source);
    };
    frmClassRecords = new TfrmClassRecords(m_prompter, this);
    frmEditQues = new TfrmEditQues(m_prompter, this);
    frmEditQues->RecountMarksHook = [this] {
        m_state.MarksRecountPending = true;
        frmMenu->RecountUnitMarks();
    };
    connect(frmEditQues, &TfrmEditQues::helpRequested, this,
            [](int topic) { ShowHelpTopic(topic); });
    frmMenu->ClassRecordsHook = [this](int lesson) { return showClassRecords(lesson); };
    frmEditIndex = new TfrmEditIndex(m_prompter, m_state.IndexReloadPending, this);
    // Unit selection's marks belong to the lesson it lists; another lesson gets none.
    frmEditIndex->UnitMarkHook = [this](int lesson, int section, int unit) {
        return lesson == frmMenu->listedLesson() ? UnitMarkOf(m_state, section, unit)
                                                 : std::string();
    };
    connect(frmEditIndex, &TfrmEditIndex::helpRequested, this,
            [](int topic) { ShowHelpTopic(topic); });
    connect(mnuEditIndex, &QAction::triggered, this, [this] {
        if (m_state.OpenWorksheetCount > 0)
            m_prompter.message(sjis("開いているファイルをすべて閉じてください"));
        else
            frmEditIndex->editIndex(m_state.ProgramFolder);
    });
    frmSetPaper = new TfrmSetPaper(m_sheetHost, this);
    frmSettei = new TfrmSettei(m_sheetHost, this);
    frmPrintMode = new TfrmPrintMode(m_settings, this);
    connect(frmPrintMode, &TfrmPrintMode::redrawRequested, this, [this] { redrawActive(); });
    frmPrintOk = new TfrmPrintOk(m_sheetHost, *frmPrintMode, this);
    frmDummy = new TfrmDummy;
    dummyWindow = mdiArea->addSubWindow(frmDummy);
    dummyWindow->setObjectName(QStringLiteral("dummyWindow"));
    dummyWindow->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint);
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_firstShowDone) {
        m_firstShowDone = true;
        FormShow();
    }
}

void TfrmMain::FormShow() {
    AppState& s = m_state;
    const StartupResult start = Startup(s, m_settings, m_prompter);
    loadTitlePicture(start.titlePicture);
    lstWindow->clear();
    SetUpHelp(this, &m_prompter, start.helpFile);
    if (start.status == StartupStatus::NoCourseIndex) {
        m_startupFailed = true;
        close();
        return;
    }
    frmDoYouKnow->setShowNextTime(start.showTips);
    frmMenu->clearLists();
    frmMenu->setCourseIndex(start.index.title, start.index.lessonTitles);
    SetAnswerDisplayMode(0);
    frmPrintMode->radDisplay->setChecked(true);
    SetCurrentPaper(PaperFromWidth(start.paperWidth));
    // Start with the answers shown: clear the flag, then toggle it once.
    m_answerDisplay = false;
    btnKaitouClick();
    if (start.status == StartupStatus::NoRecordsFolder) return;

    dummyWindow->show();
    mdiArea->setActiveSubWindow(dummyWindow);
    // The index editor loads its view of the course index here once it exists.
    FocusMain();

    edtLogOnName->setText(ToQString(s.LearnerName));
    s.LearnerName = FromQStringKeeping(edtLogOnName->text(), s.LearnerName).value_or(s.LearnerName);
    SetLearnerMode(s.LearnerMode);
    (s.LearnerMode ? btnTest : btnOpenMaster)->setFocus();
}

bool TfrmMain::showRecordViewer() {
    frmKiroku->setGeometry(0, 0, width(), height());
    frmKiroku->showFor(RecordViewerSource(m_state));
    return frmKiroku->erased();
}

bool TfrmMain::showClassRecords(int lesson) {
    frmClassRecords->setGeometry(0, 0, width(), height());
    frmClassRecords->showFor(ClassRecordsSourceOf(m_state, lesson));
    std::optional<Worksheet> review = frmClassRecords->takeReviewWorksheet();
    if (!review) return false;
    openComposedWorksheet(std::move(*review));
    return true;
}

void TfrmMain::openComposedWorksheet(Worksheet worksheet) {
    worksheet.params.ShowAnswers = m_answerDisplay;
    if (m_state.PaperFixed) worksheet.params.PaperWidth = m_state.CurrentPaper.width;
    m_shared.AnswerFontSize = worksheet.params.AnswerFontSize;
    // Its title names it; a second sheet of the same title gets a number of its own.
    std::string identity = worksheet.content.title;
    for (int n = 2; FindOpenWorksheet(ToQString(identity)) >= 0; ++n)
        identity = worksheet.content.title + sjis("（") + IntText(n) + sjis("）");
    addWorksheetWindow(std::move(worksheet), ToQString(identity))->setCaption(identity);
    FocusMain();
}

void TfrmMain::loadTitlePicture(const std::string& path) {
    QPixmap picture;
    if (!path.empty()) picture.load(QString::fromStdString(NativePath(path).string()));
    if (!picture.isNull()) frmDummy->setTitlePicture(picture);
}

bool TfrmMain::ReadCourseIndex() {
    frmMenu->clearLists();
    auto lines = LoadCourseIndex(m_state.ProgramFolder, m_prompter);
    if (!lines) {
        close();
        return false;
    }
    CourseIndex index = sulkan::ReadCourseIndex(*lines, m_state.Course, m_prompter);
    frmMenu->setCourseIndex(index.title, index.lessonTitles);
    return true;
}

void TfrmMain::SetAnswerDisplayMode(int mode) {
    m_state.AnswerDisplayMode = mode;
    if (mode == 0) {
        btnKaitou->setEnabled(true);
    } else {
        btnKaitou->setEnabled(false);
        m_answerDisplay = (mode == 1);
    }
    btnKaitou->setIcon(QIcon(m_answerDisplay ? imgRED->pixmap() : imgDRED->pixmap()));
}

void TfrmMain::btnLockClick() {
    SetLearnerMode(!m_state.LearnerMode);
    FocusMain();
}

void TfrmMain::SetLearnerMode(bool learner) {
    m_state.LearnerMode = learner;
    WriteBoolSetting(m_settings, "KeyLock", learner);
    btnLock->setIcon(QIcon((learner ? imgLockShut : imgLockOpen)->pixmap()));
    btnLock->setText(learner ? QStringLiteral("生徒用") : QStringLiteral("先生用"));
    for (QWidget* w : std::initializer_list<QWidget*>{
             btnFpClose, btnOpenMaster, btnAdd, btnSave, btnStartPrint, btnEdit, btnKran, chkBekkai,
             btnKaitou, spnGyouSpace, spnMojiSize, pnlCopy, lblGyouSpace, lblMojiSize})
        w->setVisible(!learner);
    for (QMenu* m : {mnuFile, mnuEdit, mnuMainWin}) m->menuAction()->setVisible(!learner);
    // A hidden item is disabled too, so its shortcut does nothing.
    mnuDoYouKnow->setVisible(!learner);
    updateMenuBar();
    for (QMdiSubWindow* sub : mdiArea->subWindowList())
        if (qobject_cast<TfrmPrint*>(sub->widget())) SetLearnerFrame(sub, learner);
}

void TfrmMain::updateMenuBar() {
    const TfrmPrint* sheet = activeWorksheet();
    SetBarMenus(menuBar(), BarMenus({mnuFile, mnuEdit, mnuMainWin, mnuHelp},
                                    sheet ? sheet->menus() : QList<QMenu*>{}, m_state.LearnerMode));
}

void TfrmMain::FocusMain() {
    setFocus();
}

}  // namespace sulkan
