// The program's help: HTML pages in a help folder, shown in one help window that is opened at a
// topic (by its context number) or at the contents, with back, forward and a search over all pages.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QWidget>
#include <string>
#include <vector>

namespace sulkan {

class Prompter;

// Opens the help window at the page of a context number; an unknown number opens the contents.
void ShowHelpTopic(int context);
void ShowHelpContents();

// The page file of a context number, empty when the number is unknown.
QString HelpPageOf(int context);

// Set by the main window at start-up: the window the help window belongs to (it is deleted with
// it), where messages go, and the bare name of a "*.hlp" file in the course folder (empty: none).
// Messages go through the prompter only while the owner exists.
void SetUpHelp(QWidget* owner, Prompter* prompter, const std::string& courseHelpFile);

// The folders searched for "index.html", in order: $SULKAN_HELP_DIR, then
// <program>/../share/sulkan/help (in the build tree a link to the help folder of the sources, so
// the installed program carries no path of the tree it was built in).
QStringList HelpFolders();
// Replaces the searched folders (for tests); an empty list restores the usual places.
void SetHelpFolders(const QStringList& folders);

// The help window. One is made on the first request and reused; it is not modal, so the program
// (and a dialog the help was asked for from) stays usable beside it.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& folder, QWidget* parent = nullptr);

    // page: a file name inside the help folder.
    void showPage(const QString& page);
    void showContents() { showPage(QStringLiteral("index.html")); }
    // File names of the pages that hold every word of words (blank separated; full-width and
    // half-width forms and letter case are not told apart), in contents order.
    QStringList search(const QString& words) const;

    const QString& folder() const { return m_folder; }
    // The file name of the page shown.
    QString currentPage() const;

    QToolButton* btnBack;
    QToolButton* btnForward;
    QToolButton* btnContents;
    QTabWidget* tabSide;
    QListWidget* lstContents;
    QLineEdit* edtSearch;
    QPushButton* btnSearch;
    QListWidget* lstHits;
    QTextBrowser* txtPage;

private:
    struct Page {
        QString file;
        QString title;
        QString text;  // plain text, folded for searching
    };
    void loadPages();
    void btnSearchClick();
    void lstHitsClick(QListWidgetItem* item);
    void sourceChanged();

    QString m_folder;
    std::vector<Page> m_pages;  // contents order: index.html, then the pages it links to
    QString m_lastWords;
};

// The help window once opened and still alive, else nothing.
HelpWindow* CurrentHelpWindow();

}  // namespace sulkan
