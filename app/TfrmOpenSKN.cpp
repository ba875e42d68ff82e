#include "TfrmOpenSKN.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "ContainedPath.h"
#include "FileChecks.h"
#include "LineFile.h"
#include "Named.h"
#include "QtText.h"
#include "SelectionLists.h"
#include "Sjis.h"

namespace sulkan {
namespace {

QLabel* Header(const QString& text, const char* name) {
    return PanelHeader(text, name);
}

}  // namespace

TfrmOpenSKN::TfrmOpenSKN(AppState& state, Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      edtFileName(Named(new QLineEdit, "edtFileName")),
      pnlLesson(Header(QStringLiteral("項目を選んでください"), "pnlLesson")),
      lstLesson(Named(new QListWidget, "lstLesson")),
      pnlSKN(Header(QStringLiteral("項目を選んでください"), "pnlSKN")),
      flbSKN(Named(new QListWidget, "flbSKN")),
      Panel1(Header(QStringLiteral("ファイルの内容"), "Panel1")),
      lstContents(Named(new QListWidget, "lstContents")),
      btnOk(Named(new QPushButton(QStringLiteral("　Ｏ　Ｋ　")), "btnOk")),
      btnCancel(Named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ")), "btnCancel")),
      m_state(state),
      m_prompter(prompter) {
    setObjectName(QStringLiteral("TfrmOpenSKN"));
    setWindowTitle(QStringLiteral("Sulkan - コピーファイルを開く"));
    edtFileName->setReadOnly(true);
    btnOk->setDefault(true);

    auto* lists = new QGridLayout;
    lists->addWidget(pnlLesson, 0, 0);
    lists->addWidget(lstLesson, 1, 0);
    lists->addWidget(pnlSKN, 0, 1);
    lists->addWidget(flbSKN, 1, 1);
    lists->addWidget(Panel1, 0, 2);
    lists->addWidget(lstContents, 1, 2);
    lists->setColumnStretch(0, 2);
    lists->setColumnStretch(1, 2);
    lists->setColumnStretch(2, 5);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);

    auto* root = new QVBoxLayout(this);
    root->addWidget(edtFileName);
    root->addLayout(lists, 1);
    root->addLayout(buttons);

    for (QListWidget* list : {lstLesson, flbSKN}) list->installEventFilter(this);
    // The handlers read the current row, which a mouse press sets before it selects the item:
    // the click and the arrow keys then show the same file.
    connect(lstLesson, &QListWidget::currentRowChanged, this, [this] { lstLessonClick(); });
    connect(flbSKN, &QListWidget::currentRowChanged, this, [this] { flbSKNClick(); });
    connect(btnOk, &QPushButton::clicked, this, &TfrmOpenSKN::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmOpenSKN::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

bool TfrmOpenSKN::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Left &&
        (watched == flbSKN || watched == lstLesson)) {
        lstLesson->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmOpenSKN::FormShow() {
    move(0, 0);
    if (const QWidget* mainWindow = parentWidget()) resize(mainWindow->size());

    if (m_firstShow) {
        if (!readCourseIndex()) {
            // Closing from inside the show would leave exec() waiting on a hidden dialog.
            QTimer::singleShot(0, this, [this] { done(AbortResult); });
            return;
        }
        m_firstShow = false;
        if (lstLesson->count() > 0) {
            SelectRow(lstLesson, 0);
            lstLessonClick();
            if (flbSKN->count() > 0) {
                SelectRow(flbSKN, 0);
                flbSKNClick();
            }
        }
        return;  // the lesson click has just listed the files
    }
    // The files may have changed since the last showing.
    if (lstLesson->count() > 0) lstLessonClick();
}

// The course index is read once per run: a changed index shows after a restart.
bool TfrmOpenSKN::readCourseIndex() {
    FillList(lstLesson, {});
    const auto lines = LoadCourseIndex(m_state.ProgramFolder, m_prompter);
    if (!lines) return false;
    // The main window has reported the index's problems at start-up already; this only takes
    // the lesson titles and folders, by the same rules.
    std::vector<std::string> titles;
    for (std::size_t n = 2; n < lines->size() && (*lines)[n] != ">>"; ++n) {
        const int slot = static_cast<int>(n) - 1;
        if (!IsSlot(slot)) break;
        LessonLine lesson = ParseLessonLine((*lines)[n]);
        if (lesson.valid) m_lessonFolders[slot] = std::move(lesson.folder);
        titles.push_back(std::move(lesson.title));
    }
    FillList(lstLesson, titles);
    return true;
}

void TfrmOpenSKN::lstLessonClick() {
    const int lesson = lstLesson->currentRow() + 1;
    if (!IsSlot(lesson)) return;
    if (m_lessonFolders[lesson].empty()) {
        // A lesson line without a folder has no copy files; the program folder is not its place.
        m_folder.clear();
        m_files.clear();
    } else {
        const std::string folder = m_state.ProgramFolder + m_lessonFolders[lesson];
        if (const Result<> usable =
                LessonFolderProblem(m_state.ProgramFolder, m_lessonFolders[lesson]);
            !usable) {
            m_prompter.message(usable.problem().message);
            return;
        }
        if (!FolderCheck(m_prompter, folder)) return;
        m_folder = folder;
        m_files.clear();
        // Only names that stay in the folder are offered (on Linux a file may be named "..\x.skn",
        // or be a link to a file elsewhere).
        std::string refused;
        for (std::string& name : ListFiles(folder, "*.skn")) {
            const ContainedPath file = PathInside(folder, name, NameShape::FileName);
            if (file)
                m_files.push_back(std::move(name));
            else
                refused += (refused.empty() ? "" : "\n") + file.problem().message;
        }
        if (!refused.empty()) m_prompter.message(refused);
    }
    m_listedLesson = lesson;
    FillList(flbSKN, m_files);

    if (!m_files.empty()) {
        int index = m_state.LastCopyFileIndex;
        if (index == -1) m_state.LastCopyFileIndex = 0;
        if (index < 0 || index >= static_cast<int>(m_files.size())) index = 0;
        SelectRow(flbSKN, index);
        flbSKNClick();
    }
    flbSKN->setFocus();
}

void TfrmOpenSKN::flbSKNClick() {
    const int row = flbSKN->currentRow();
    if (row < 0 || row >= static_cast<int>(m_files.size())) return;
    const std::string path = m_folder + m_files[static_cast<std::size_t>(row)];
    edtFileName->setText(ToQString(NativeSeparators(path)));
    const auto lines = ReadLines(path);
    FillList(lstContents, lines ? *lines : std::vector<std::string>{});
}

void TfrmOpenSKN::btnOkClick() {
    const int row = flbSKN->currentRow();
    // A path left from an earlier lesson is no choice: the listed lesson has no file selected.
    if (edtFileName->text().isEmpty() || row < 0) {
        m_prompter.message(sjis("単元を選択してください"));
        return;
    }
    m_state.LastCopyFileIndex = row;
    m_state.ChosenCopyFileName = m_files[static_cast<std::size_t>(row)];
    // Built from the bytes listed: the text shown need not encode back to the same bytes.
    m_chosenPath = m_folder + m_state.ChosenCopyFileName;
    m_chosenLesson = m_listedLesson;
    accept();
}

}  // namespace sulkan
