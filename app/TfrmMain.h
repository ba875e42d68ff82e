// The program's frame window: a multiple-document frame with the command panel on its left, the
// menu bar, and the start-up sequence that runs when it is first shown.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <optional>
#include <string>
#include <vector>

#include "AppState.h"
#include "MainSheetHost.h"
#include "Prompter.h"
#include "SettingsStore.h"
#include "SheetState.h"
#include "UnitOpen.h"
#include "WorksheetHost.h"
#include "WorksheetReader.h"

namespace sulkan {

class TfrmMenu;
class TfrmDummy;
class TfrmOpenSKN;
class TfrmSetPaper;
class TfrmSettei;
class TfrmPrintMode;
class TfrmPrintOk;
class TfrmPrint;
class TfrmRenshu;
class TfrmInputName;
class TfrmKiroku;
class TfrmZenTangen;
class TfrmClassRecords;
class TfrmVersion;
class TfrmJuku;
class TfrmDoYouKnow;
class TfrmEditIndex;
class TfrmEditQues;
class MainDrillHost;

// Results of OpenUnitWorksheet.
enum class OpenResult { Opened = 1, AlreadyOpen = 2, ReadFailed = 3, UnitMissing = 4 };

// What the main window needs from the outside world.
struct AppServices {
    SettingsStore* settings = nullptr;
    Prompter* prompter = nullptr;
    std::string workingFolder;  // CP932, the courseware folder
    int screenWidth = 0;        // 0: take the primary screen's size
    int screenHeight = 0;
};

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(const AppServices& services, QWidget* parent = nullptr);
    ~TfrmMain() override;

    AppState& state() { return m_state; }
    const AppState& state() const { return m_state; }
    // True when the start-up sequence ended the program (no course index).
    bool startupFailed() const { return m_startupFailed; }

    // Learner mode hides every teacher command; teacher mode shows them again.
    void SetLearnerMode(bool learner);
    void SetAnswerDisplayMode(int mode);
    void FocusMain();
    // Rebuilds the lesson level of the course tree and the lesson list of unit selection.
    bool ReadCourseIndex();

    // Layout and view controls.
    void ApplyPaper(const PaperRecord& paper);
    void SelectPaperByWidth(int width);
    void SetCurrentPaper(const PaperRecord& paper);
    PaperRecord TickedPaper() const;
    void TogglePaperFixed();
    void SetPaperRadiosEnabled(bool enabled);
    void tickPaperRadio(PaperIndex index);
    void untickPaperRadios();
    void btnShukushoClick();
    void btnScrollClick();
    void nudgeBoxes(int dx, int dy);

    // File commands.
    bool OpenMasterUnit();
    bool OpenCopyFile();
    // The copy file at path (CP932), as if chosen in the copy-file dialog: "sulkan FILE.skn" and
    // the file manager. It belongs to the lesson whose folder holds it (else lesson 1).
    bool OpenCopyFileAt(const std::string& path);
    TfrmPrint* addWorksheetWindow(Worksheet worksheet, const QString& identity);
    OpenResult OpenUnitWorksheet(const UnitAddress& address, bool reload);
    int FindOpenWorksheet(const QString& identity) const;
    void ActivateOpenWorksheet(int line);
    void MarkWorksheetModified();
    void ClearWorksheetModified();
    void btnAddClick();
    // "編　集": the question editor on the active worksheet's unit, which is opened again after OK.
    void btnEditClick();
    // The question editor on address (new-unit mode: no worksheet of it yet). True after OK.
    bool EditQuestions(const UnitAddress& address, bool newUnit);
    TfrmPrint* activeWorksheet() const { return m_state.ActiveWorksheet; }
    QMdiSubWindow* subWindowOf(const TfrmPrint* window) const;

    // What the worksheet windows and their dialogs see of the main window.
    WorksheetHost& sheetHost() { return m_sheetHost; }
    // The main window's side of that: its view controls, its window list and its commands.
    bool answerDisplay() const { return m_answerDisplay; }
    bool shrunk() const { return m_shrunk; }
    void worksheetActivated(TfrmPrint* window);
    void worksheetClosing(TfrmPrint* window);
    void runCommand(WorksheetCommand command);
    void regionSelected(int x1, int y1, int x2, int y2);
    void regionCleared();
    void worksheetRenamed(TfrmPrint* window, const QString& oldIdentity);
    void toggleShrink();
    void scrollActive();
    void setAnswerDisplayOn();
    int tickedPaperWidth() const;
    void applyPaperChoice(int width);
    std::string numberText() const;

    // Windows created once at start-up.
    TfrmMenu* frmMenu = nullptr;
    TfrmDummy* frmDummy = nullptr;
    TfrmOpenSKN* frmOpenSKN = nullptr;
    TfrmPrintMode* frmPrintMode = nullptr;
    TfrmPrintOk* frmPrintOk = nullptr;
    TfrmRenshu* frmRenshu = nullptr;  // made on the first study command
    TfrmZenTangen* frmZenTangen = nullptr;
    TfrmClassRecords* frmClassRecords = nullptr;
    TfrmJuku* frmJuku = nullptr;
    TfrmDoYouKnow* frmDoYouKnow = nullptr;
    TfrmEditIndex* frmEditIndex = nullptr;
    TfrmEditQues* frmEditQues = nullptr;
    // The class overview of a lesson: every learner with a record file there. True when a review
    // sheet composed there was opened as a worksheet.
    bool showClassRecords(int lesson);
    // A worksheet composed in memory (the review sheet), as a new unsaved worksheet window.
    void openComposedWorksheet(Worksheet worksheet);
    // The record viewer of the current unit's lesson, for the current learner; true when the
    // learner erased records there.
    bool showRecordViewer();
    QMdiSubWindow* dummyWindow = nullptr;

    QMdiArea* mdiArea;

    // Left command panel.
    QFrame* pnlMain;
    QPushButton* btnLock;
    QPushButton* btnFpClose;
    QPushButton* btnOpenMaster;
    QPushButton* btnSave;
    QPushButton* btnStartPrint;
    QPushButton* btnEdit;
    QPushButton* btnTest;
    QPushButton* btnLogOn;
    QLineEdit* edtLogOnName;
    QPushButton* btnKaitou;
    QCheckBox* chkBekkai;
    QPushButton* btnKran;
    QLabel* lblGyouSpace;
    QSpinBox* spnGyouSpace;
    QLabel* lblMojiSize;
    QSpinBox* spnMojiSize;
    QCheckBox* chkKaiSize;
    QFrame* pnlCopy;
    QPushButton* btnCopy;
    QPushButton* btnCancel;

    // Pop-up panels.
    QFrame* pnlSave;
    QPushButton* btnSaveMaster;
    QPushButton* btnSaveCopy;

    // Value holders that are not shown.
    QComboBox* cmbRetsuX;
    QSpinBox* spnKranWX;
    QRadioButton* radB5;
    QRadioButton* radA4;
    QRadioButton* radB4;
    QRadioButton* radA3;
    QPushButton* btnShukusho;
    QPushButton* btnScroll;
    QPushButton* btnUp;
    QPushButton* btnAdd;
    QListWidget* lstWindow;
    QListWidget* lstDefaultData;

    // Menus.
    QMenu* mnuFile;
    QAction* mnuOpenMaster;
    QAction* mnuOpenCopy;
    QAction* mnuClassRecords;
    QAction* mnuExit;
    QMenu* mnuEdit;
    QAction* mnuEditIndex;
    QAction* mnuJuku;
    QMenu* mnuMainWin;
    QAction* mnuMaximize;
    QAction* mnuTile;
    QAction* mnuCascade;
    QAction* mnuCloseAllWIndows;
    QMenu* mnuHelp;
    QAction* mnuVersion;
    QAction* mnuDoYouKnow;

    void btnKranClick();
    void btnStartPrintClick();
    void btnSaveClick();
    void btnSaveMasterClick();
    void btnSaveCopyClick();
    void btnCopyClick();
    void btnCancelClick();
    void hidePopupPanels();
    // Help menu and school name (TfrmMainHelp.cpp).
    void mnuUsageClick();
    void mnuVersionClick();
    void mnuJukuClick();
    void mnuDoYouKnowClick();
    // The tips dialog after start-up, when "ShowDoYouKnow" asks for it (teacher mode only).
    void ShowTipsAtStart();
    // "学　習": the drill over the active worksheet (opening one first when there is none).
    void btnTestClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Opens the copy file at path as a worksheet of lesson (the two copy-file commands).
    bool openCopyFile(std::string path, int lesson);
    void createPanel();
    void createPopupPanels();
    void createValueHolders();
    void createMenus();
    void createWindows();
    void createHelpWindows();
    void FormShow();
    void loadTitlePicture(const std::string& path);
    void btnKaitouClick();
    void btnLockClick();
    void btnOpenMasterClick();
    void btnFpCloseClick();
    void chkBekkaiClick();
    void chkKaiSizeClick();
    // The four layout spin boxes of the main window: the value goes into the active worksheet.
    void spnLayoutChange(int LayoutParams::*field, int value);
    void cmbRetsuXChange(int index);
    void connectLayoutControls();
    void mnuMainWinPopup();
    void mnuMaximizeClick();
    // Cascade and tile arrange the worksheets only: the title window stays behind them.
    void mnuCascadeClick();
    void mnuTileClick();
    std::vector<QMdiSubWindow*> arrangedWorksheets() const;
    void mnuCloseAllWIndowsClick();
    void mdiAreaSubWindowActivated(QMdiSubWindow* window);
    // After a worksheet closed: the one activated last before it, in front with its menus.
    void bringNextWorksheetForward();
    void connectCommands();
    // Puts the menus of the active worksheet (or the frame's own) and of the lock on the bar.
    void updateMenuBar();
    // The reading of a unit chosen in unit selection, with the titles chosen there.
    UnitOpenRequest selectedUnit(const UnitAddress& address) const;
    UnitTitles selectedTitles() const;  // of the unit chosen in unit selection
    void redrawActive();

    // Controls and windows only the main window itself uses.
    TfrmSetPaper* frmSetPaper = nullptr;
    TfrmSettei* frmSettei = nullptr;
    TfrmInputName* frmInputName = nullptr;
    TfrmKiroku* frmKiroku = nullptr;
    TfrmVersion* frmVersion = nullptr;
    QFrame* pnlEdit;
    QPushButton* btnEditMaster;
    QPushButton* btnEditCopy;
    QSpinBox* spnGyoukanSub;
    QFrame* pnlSize;
    QPushButton* btnDown;
    QPushButton* btnLeft;
    QPushButton* btnRight;
    QPushButton* btnOpenCopy;
    QListWidget* lstDummyX;
    QLabel* imgRED;
    QLabel* imgDRED;
    QLabel* imgMaruGR;
    QLabel* imgMaruYL;
    QLabel* imgLockShut;
    QLabel* imgLockOpen;
    QAction* mnuUsage;
    QAction* mnuHosoku;

    SettingsStore& m_settings;
    Prompter& m_prompter;
    AppState m_state;
    bool m_firstShowDone = false;
    bool m_startupFailed = false;
    bool m_answerDisplay = false;
    // The answer display a worksheet being opened by the open command starts with.
    std::optional<bool> m_newSheetAnswers;
    // Open worksheets in the order they were last activated, the latest last.
    std::vector<TfrmPrint*> m_activationHistory;
    bool m_shrunk = false;
    SheetShared m_shared;
    MainSheetHost m_sheetHost{*this, m_state, m_shared, m_prompter};
    HoldingArea m_holding;
    QList<QAction*> m_windowListActions;
    QRect m_copyRegion;  // sheet units, as framed on the active worksheet
    MainDrillHost* m_drillHost = nullptr;
};

}  // namespace sulkan
