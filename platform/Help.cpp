#include "Help.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextDocument>
#include <QVBoxLayout>
#include <memory>

#include "Prompter.h"
#include "QtPrompter.h"
#include "QtText.h"
#include "Sjis.h"

namespace sulkan {
namespace {

struct Topic {
    int context;
    const char* page;
};

constexpr Topic kTopics[] = {
    {710, "index-text.html"},       {720, "question-text.html"},
    {730, "index-editor.html"},     {840, "class-flag.html"},
    {842, "word-processor.html"},   {850, "clipboard.html"},
    {900, "similar-problems.html"}, {901, "fax.html"},
    {902, "study-button.html"},
};

const QString kIndex = QStringLiteral("index.html");

struct HelpSetup {
    QPointer<QWidget> owner;
    Prompter* prompter = nullptr;
    std::string courseHelpFile;
    bool courseHelpTold = false;
    QStringList folders;  // empty: the usual places
    QPointer<HelpWindow> window;
};

HelpSetup& Setup() {
    static HelpSetup setup;
    return setup;
}

void Tell(const std::string& text) {
    HelpSetup& s = Setup();
    if (s.owner && s.prompter) {
        s.prompter->message(text);
        return;
    }
    QtPrompter(QApplication::activeWindow()).message(text);
}

// Widths and letter case do not matter when searching ("ｗｏｒｄ" finds "Word").
QString Folded(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

QString FolderWithPages() {
    for (const QString& folder : HelpFolders())
        if (!folder.isEmpty() && QFileInfo::exists(QDir(folder).filePath(kIndex)))
            return QDir(folder).absolutePath();
    return {};
}

// A help window asked for from a modal dialog must belong to that dialog: every other window is
// blocked while it is open.
QWidget* ParentForHelp() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (Setup().owner) return Setup().owner;
    // Without a main window (a window shown on its own) the help goes with the active window.
    return QApplication::activeWindow();
}

HelpWindow* OpenHelpWindow() {
    HelpSetup& s = Setup();
    if (!s.courseHelpFile.empty() && !s.courseHelpTold) {
        s.courseHelpTold = true;
        Tell(sjis("ヘルプファイル ") + s.courseHelpFile +
             sjis(" はこのシステムでは表示できません。\r\nプログラムのヘルプを表示します。"));
    }
    const QString folder = FolderWithPages();
    if (folder.isEmpty()) {
        std::string text =
            sjis("ヘルプのページ（index.html）が見つかりません。\r\n探したフォルダ:");
        for (const QString& f : HelpFolders())
            if (auto name = FromQString(QDir::toNativeSeparators(f))) text += "\r\n" + *name;
        Tell(text);
        return nullptr;
    }
    QWidget* parent = ParentForHelp();
    // The help window itself may be the active one.
    if (s.window && parent && (parent == s.window || s.window->isAncestorOf(parent)))
        parent = s.window->parentWidget();
    if (s.window && s.window->folder() != folder) delete s.window;
    if (!s.window) {
        s.window = new HelpWindow(folder, parent);
        s.window->resize(900, 680);
    } else if (s.window->parentWidget() != parent) {
        const QRect where = s.window->geometry();
        s.window->setParent(parent, Qt::Window);
        s.window->setGeometry(where);
    }
    return s.window;
}

void Present(HelpWindow* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

QString HelpPageOf(int context) {
    for (const Topic& t : kTopics)
        if (t.context == context) return QString::fromLatin1(t.page);
    return {};
}

void ShowHelpTopic(int context) {
    HelpWindow* window = OpenHelpWindow();
    if (!window) return;
    const QString page = HelpPageOf(context);
    // A topic whose page is missing from the folder still gets an answer: the contents.
    if (page.isEmpty() || !QFileInfo::exists(QDir(window->folder()).filePath(page)))
        window->showContents();
    else
        window->showPage(page);
    Present(window);
}

void ShowHelpContents() {
    HelpWindow* window = OpenHelpWindow();
    if (!window) return;
    window->showContents();
    Present(window);
}

void SetUpHelp(QWidget* owner, Prompter* prompter, const std::string& courseHelpFile) {
    HelpSetup& s = Setup();
    s.owner = owner;
    s.prompter = prompter;
    s.courseHelpFile = courseHelpFile;
}

QStringList HelpFolders() {
    const HelpSetup& s = Setup();
    if (!s.folders.isEmpty()) return s.folders;
    QStringList folders;
    const QString fromEnvironment = qEnvironmentVariable("SULKAN_HELP_DIR");
    if (!fromEnvironment.isEmpty()) folders << fromEnvironment;
    folders << QDir(QCoreApplication::applicationDirPath())
                   .filePath(QStringLiteral("../share/sulkan/help"));
    return folders;
}

void SetHelpFolders(const QStringList& folders) {
    Setup().folders = folders;
}

HelpWindow* CurrentHelpWindow() {
    return Setup().window;
}

HelpWindow::HelpWindow(const QString& folder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      btnBack(new QToolButton),
      btnForward(new QToolButton),
      btnContents(new QToolButton),
      tabSide(new QTabWidget),
      lstContents(new QListWidget),
      edtSearch(new QLineEdit),
      btnSearch(new QPushButton(QStringLiteral("検索"))),
      lstHits(new QListWidget),
      txtPage(new QTextBrowser),
      m_folder(folder) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Sulkan++ ヘルプ"));
    // Its own reading size, not the small panel font of the window it belongs to.
    setFont(QApplication::font());
    btnBack->setObjectName(QStringLiteral("btnBack"));
    btnForward->setObjectName(QStringLiteral("btnForward"));
    btnContents->setObjectName(QStringLiteral("btnContents"));
    lstContents->setObjectName(QStringLiteral("lstContents"));
    edtSearch->setObjectName(QStringLiteral("edtSearch"));
    btnSearch->setObjectName(QStringLiteral("btnSearch"));
    lstHits->setObjectName(QStringLiteral("lstHits"));
    txtPage->setObjectName(QStringLiteral("txtPage"));

    btnBack->setText(QStringLiteral("◀ 戻る"));
    btnForward->setText(QStringLiteral("進む ▶"));
    btnContents->setText(QStringLiteral("目次"));
    for (QToolButton* b : {btnBack, btnForward, btnContents})
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    btnBack->setEnabled(false);
    btnForward->setEnabled(false);
    edtSearch->setPlaceholderText(QStringLiteral("探す言葉（空白で区切ると全部を含むページ）"));
    edtSearch->setClearButtonEnabled(true);
    txtPage->setOpenExternalLinks(true);

    auto* bar = new QHBoxLayout;
    bar->addWidget(btnBack);
    bar->addWidget(btnForward);
    bar->addWidget(btnContents);
    bar->addStretch();

    auto* searchPane = new QWidget;
    auto* searchBox = new QVBoxLayout(searchPane);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(edtSearch, 1);
    searchRow->addWidget(btnSearch);
    searchBox->addLayout(searchRow);
    searchBox->addWidget(lstHits, 1);
    tabSide->addTab(lstContents, QStringLiteral("目次"));
    tabSide->addTab(searchPane, QStringLiteral("検索"));

    auto* split = new QSplitter;
    split->addWidget(tabSide);
    split->addWidget(txtPage);
    split->setStretchFactor(1, 1);
    split->setSizes({240, 660});
    auto* root = new QVBoxLayout(this);
    root->addLayout(bar);
    root->addWidget(split, 1);

    loadPages();
    for (const Page& page : m_pages) {
        auto* item = new QListWidgetItem(page.title, lstContents);
        item->setData(Qt::UserRole, page.file);
    }

    connect(btnBack, &QToolButton::clicked, txtPage, &QTextBrowser::backward);
    connect(btnForward, &QToolButton::clicked, txtPage, &QTextBrowser::forward);
    connect(btnContents, &QToolButton::clicked, this, &HelpWindow::showContents);
    connect(txtPage, &QTextBrowser::backwardAvailable, btnBack, &QToolButton::setEnabled);
    connect(txtPage, &QTextBrowser::forwardAvailable, btnForward, &QToolButton::setEnabled);
    connect(txtPage, &QTextBrowser::sourceChanged, this, &HelpWindow::sourceChanged);
    connect(lstContents, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showPage(item->data(Qt::UserRole).toString()); });
    connect(btnSearch, &QPushButton::clicked, this, &HelpWindow::btnSearchClick);
    connect(edtSearch, &QLineEdit::returnPressed, this, &HelpWindow::btnSearchClick);
    connect(lstHits, &QListWidget::itemClicked, this, &HelpWindow::lstHitsClick);
    connect(lstHits, &QListWidget::itemActivated, this, &HelpWindow::lstHitsClick);
}

void HelpWindow::loadPages() {
    const QDir dir(m_folder);
    auto read = [&dir](const QString& file) {
        QFile f(dir.filePath(file));
        if (!f.open(QIODevice::ReadOnly)) return QString();
        return QString::fromUtf8(f.readAll());
    };
    // Contents order: the index page, then its links in the order they appear, then any page the
    // index does not link to.
    QStringList files{kIndex};
    static const QRegularExpression link(QStringLiteral("href=\"([^\"#:/]+\\.html)"));
    for (const auto& match : link.globalMatch(read(kIndex)))
        if (!files.contains(match.captured(1))) files << match.captured(1);
    for (const QString& file : dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name))
        if (!files.contains(file)) files << file;

    for (const QString& file : files) {
        const QString html = read(file);
        if (html.isEmpty()) continue;
        QTextDocument doc;
        doc.setHtml(html);
        QString title = doc.metaInformation(QTextDocument::DocumentTitle);
        if (title.isEmpty()) title = file;
        m_pages.push_back({file, title, Folded(doc.toPlainText())});
    }
}

void HelpWindow::showPage(const QString& page) {
    txtPage->setSource(QUrl::fromLocalFile(QDir(m_folder).filePath(page)));
}

QString HelpWindow::currentPage() const {
    return QFileInfo(txtPage->source().toLocalFile()).fileName();
}

void HelpWindow::sourceChanged() {
    const QString title = txtPage->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Sulkan++ ヘルプ")
                                   : QStringLiteral("Sulkan++ ヘルプ － ") + title);
    const QString page = currentPage();
    for (int i = 0; i < lstContents->count(); ++i) {
        if (lstContents->item(i)->data(Qt::UserRole).toString() == page) {
            QSignalBlocker quiet(lstContents);
            lstContents->setCurrentRow(i);
            break;
        }
    }
}

QStringList HelpWindow::search(const QString& words) const {
    const QStringList wanted =
        Folded(words).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList hits;
    if (wanted.isEmpty()) return hits;
    for (const Page& page : m_pages) {
        bool all = true;
        for (const QString& word : wanted)
            if (!page.text.contains(word) && !Folded(page.title).contains(word)) all = false;
        if (all) hits << page.file;
    }
    return hits;
}

void HelpWindow::btnSearchClick() {
    lstHits->clear();
    m_lastWords = edtSearch->text().simplified();
    const QStringList hits = search(m_lastWords);
    if (hits.isEmpty()) {
        auto* none = new QListWidgetItem(QStringLiteral("見つかりませんでした"), lstHits);
        none->setFlags(Qt::NoItemFlags);
        return;
    }
    for (const QString& file : hits) {
        for (const Page& page : m_pages) {
            if (page.file != file) continue;
            auto* item = new QListWidgetItem(page.title, lstHits);
            item->setData(Qt::UserRole, file);
        }
    }
}

void HelpWindow::lstHitsClick(QListWidgetItem* item) {
    const QString file = item->data(Qt::UserRole).toString();
    if (file.isEmpty()) return;
    showPage(file);
    // Mark the first place of the first word on the page.
    const QString first = m_lastWords.section(QLatin1Char(' '), 0, 0);
    if (!first.isEmpty()) txtPage->find(first);
}

}  // namespace sulkan
