#include "TfrmInputName.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "LineFile.h"
#include "Named.h"
#include "ProfileFile.h"
#include "QtText.h"
#include "RecordFile.h"
#include "RecordStore.h"
#include "Settings.h"
#include "Sjis.h"
#include "TextRoutines.h"
#include "TfrmPassword.h"

namespace sulkan {
namespace {

bool Lists(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The roster to save: the file as it is now, less the names this dialog removed, plus the names
// it added. Another computer's changes made while the dialog was open stay as it left them.
std::vector<std::string> MergedRoster(std::vector<std::string> current,
                                      const std::vector<std::string>& loaded,
                                      const std::vector<std::string>& shown) {
    std::erase_if(current, [&](const std::string& name) {
        return Lists(loaded, name) && !Lists(shown, name);
    });
    for (const std::string& name : shown)
        if (!Lists(loaded, name) && !Lists(current, name)) current.push_back(name);
    return current;
}

}  // namespace

TfrmInputName::TfrmInputName(AppState& state, Prompter& prompter, SettingsStore& settings,
                             QWidget* parent)
    : QDialog(parent),
      Memo1(Named(new QPlainTextEdit, "Memo1")),
      Label2(Named(new QLabel(QStringLiteral("氏名：")), "Label2")),
      edtName(Named(new QLineEdit, "edtName")),
      Label1(Named(new QLabel(QStringLiteral("名簿")), "Label1")),
      edtMeibo(Named(new QLineEdit, "edtMeibo")),
      lstName(Named(new QListWidget, "lstName")),
      btnAdd(Named(new QPushButton(QStringLiteral("追加 =>")), "btnAdd")),
      btnDelete(Named(new QPushButton(QStringLiteral("削除 =>")), "btnDelete")),
      btnOk(Named(new QPushButton(QStringLiteral("OK")), "btnOk")),
      btnCancel(Named(new QPushButton(QStringLiteral("キャンセル")), "btnCancel")),
      frmPassword(new TfrmPassword(prompter, this)),
      m_state(state),
      m_prompter(prompter),
      m_settings(settings) {
    setObjectName(QStringLiteral("TfrmInputName"));
    setWindowTitle(QStringLiteral("名前登録"));
    Memo1->setReadOnly(true);
    Memo1->setPlainText(
        QStringLiteral("学習者の名前を選んでください。\nリストに無い場合は、氏名を入力して\n"
                       "[追加]をクリックすれば名簿を作成\nできます。"));
    edtMeibo->setReadOnly(true);
    edtName->installEventFilter(this);
    for (QPushButton* b : {btnAdd, btnDelete, btnOk, btnCancel}) b->setAutoDefault(false);

    auto* name = new QHBoxLayout;
    name->addWidget(Label2);
    name->addWidget(edtName, 1);
    auto* roster = new QHBoxLayout;
    roster->addWidget(Label1);
    roster->addWidget(edtMeibo, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(Memo1);
    left->addLayout(name);
    left->addWidget(btnAdd);
    left->addWidget(btnDelete);
    auto* right = new QVBoxLayout;
    right->addLayout(roster);
    right->addWidget(lstName, 1);
    auto* lists = new QHBoxLayout;
    lists->addLayout(left, 1);
    lists->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* root = new QVBoxLayout(this);
    root->addLayout(lists, 1);
    root->addLayout(buttons);

    connect(lstName, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { edtName->setText(item->text()); });
    connect(btnAdd, &QPushButton::clicked, this, &TfrmInputName::btnAddClick);
    connect(btnDelete, &QPushButton::clicked, this, &TfrmInputName::btnDeleteClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmInputName::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmInputName::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

bool TfrmInputName::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edtName && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnOkClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmInputName::FormShow() {
    const std::string path = rosterPath();
    lstName->clear();
    m_names.clear();
    m_loaded.clear();
    if (FileExists(path)) {
        if (auto lines = ReadRoster(path)) {
            m_names = std::move(*lines);
            m_loaded = m_names;
        } else {
            m_prompter.message(sjis("ファイル ") + path + sjis(" を読み込めません"));
        }
    } else {
        // A first roster; another computer may be making it at the same moment.
        Result<std::vector<std::string>> made =
            UpdateRoster(path, [](const std::vector<std::string>& current) {
                return current.empty() ? std::vector<std::string>{sjis("共通")} : current;
            });
        if (!made) {
            m_prompter.message(made.problem().message);
            m_names = {sjis("共通")};
        } else {
            m_names = made.value();
            m_loaded = m_names;
        }
    }
    for (const std::string& n : m_names) lstName->addItem(ToQString(n));
    edtMeibo->setText(ToQString(AfterLastChar('\\', path)));
    edtName->clear();
    edtName->setFocus();
}

std::optional<std::string> TfrmInputName::typedName() {
    char32_t failed = 0;
    // A name picked from the list keeps the bytes it has in the roster.
    std::optional<std::string> name;
    for (int i = 0; i < lstName->count() && !name; ++i)
        if (lstName->item(i)->text() == edtName->text())
            name = m_names[static_cast<std::size_t>(i)];
    if (!name) name = FromQString(edtName->text(), &failed);
    if (!name) {
        m_prompter.message(UnencodableText(failed));
        return std::nullopt;
    }
    if (name->empty()) return name;
    if (const Result<> usable = LearnerNameProblem(*name); !usable) {
        m_prompter.message(usable.problem().message);
        return std::nullopt;
    }
    return name;
}

void TfrmInputName::btnAddClick() {
    if (edtName->text().isEmpty()) return;
    auto name = typedName();
    if (!name || name->empty()) return;
    for (const std::string& n : m_names)
        if (n == *name) return;
    m_names.push_back(*name);
    lstName->addItem(ToQString(*name));
}

void TfrmInputName::btnDeleteClick() {
    const int row = lstName->currentRow();
    if (row >= 0 && lstName->currentItem() && lstName->currentItem()->isSelected()) {
        delete lstName->takeItem(row);
        m_names.erase(m_names.begin() + row);
    }
    edtName->clear();
}

bool TfrmInputName::saveRoster() {
    // The roster is shared: this dialog's additions and removals go into the roster as it is at
    // the save, and a roster that could not be read is never replaced by the few names shown.
    Result<std::vector<std::string>> updated =
        UpdateRoster(rosterPath(), [&](const std::vector<std::string>& current) {
            return MergedRoster(current, m_loaded, m_names);
        });
    if (!updated) {
        m_prompter.message(updated.problem().message);
        return false;
    }
    m_loaded = updated.value();
    if (updated.value() != m_names) {
        m_names = std::move(updated).value();
        lstName->clear();
        for (const std::string& n : m_names) lstName->addItem(ToQString(n));
    }
    return true;
}

void TfrmInputName::btnOkClick() {
    // A name that cannot name a file changes nothing: neither the roster nor the learner.
    auto name = typedName();
    if (!name) {
        edtName->setFocus();
        return;
    }
    btnAddClick();
    if (!saveRoster()) return;
    if (name->empty()) {
        reject();
        return;
    }
    const std::string previous = m_state.LearnerName;
    m_state.LearnerName = *name;
    bool loggedOn = *name == sjis("共通");
    if (!loggedOn) {
        const int lesson = std::max(1, m_state.CurrentUnit.lesson);
        const std::string file =
            RecordFilePath(m_state.ProgramFolder, m_state.Course, *name, lesson,
                           m_state.RunFromCdRom, m_state.RecordsFolder);
        if (file.empty()) {
            m_prompter.message(sjis("学習の記録を書き込む場所がありません"));
        } else {
            // Wherever the password lies: a lesson folder that became read-only still holds it.
            const std::string stored =
                LoadRecordFiles(RecordFileCandidates(m_state.ProgramFolder, m_state.Course, *name,
                                                     lesson, m_state.RunFromCdRom,
                                                     m_state.RecordsFolder))
                    .read("password", "pw", "?");
            loggedOn = frmPassword->showFor(*name, stored, file) == QDialog::Accepted;
        }
    }
    if (!loggedOn) {
        m_state.LearnerName = previous;
        return;
    }
    WriteStringSetting(m_settings, "LogOnName", *name);
    if (LoggedOnHook) LoggedOnHook();
    accept();
}

}  // namespace sulkan
