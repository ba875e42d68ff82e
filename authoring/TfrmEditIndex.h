// The index editor "Sulkan Editor 教材の作成": the lesson index of one lesson at a time — its
// title, sections and unit titles — edited in memory and written on OK or by a direct edit.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "IndexEditing.h"
#include "Prompter.h"

namespace sulkan {

class TfrmInputText;
class TfrmEditSource;

class TfrmEditIndex : public QDialog {
    Q_OBJECT
public:
    // indexReloadPending is set whenever a lesson index was written, so that unit selection
    // reads the course tree again.
    TfrmEditIndex(Prompter& prompter, bool& indexReloadPending, QWidget* parent = nullptr);

    // Lists the lessons of programFolder + "Main.ind" and shows the window modally. Without a
    // readable "Main.ind" the user is told and the window does not open (Rejected).
    int editIndex(const std::string& programFolder);

    // The mark drawn in front of a unit title in the tree (CP932): unit selection's practice
    // count and similar-problem mark, when it counted them for this lesson. Unset: no marks.
    std::function<std::string(int lesson, int section, int unit)> UnitMarkHook;

    // The lesson index lines as edited so far (CP932), and whether they differ from the file.
    const std::vector<std::string>& indexLines() const { return m_lines; }
    bool modified() const { return m_modified; }

    // Controls, by their given names.
    QListWidget* lstELesson;
    QLineEdit* edtMainTitle;
    QLineEdit* edtIndex;
    QLineEdit* edtDataFile;
    QListWidget* lstESection;
    QPushButton* btnAdd;
    QPushButton* btnChange;
    QListWidget* lstEUnit;
    QPushButton* btnAdd2;
    QPushButton* btnChange2;
    QTreeWidget* trvSect;
    QPushButton* btnExpand;
    QPushButton* btnEditDirect;
    QPushButton* btnOk;
    QPushButton* btnClose;
    QPushButton* btnHelp;
    QLabel* pnlHint;
    enum Image {
        SectionImage = 1,
        UnitImage = 2,
        RootImage = 3,
        ExpandImage = 4,
        CollapseImage = 5
    };
    // Node pictures: 1 section, 2 unit, 3 root (0 unused); then the expand and collapse pictures.
    QList<QIcon> ImageList1;
    // The dialogs this window asks with; made once with it.
    TfrmInputText* frmInputText;
    TfrmEditSource* frmEditSource;

    // The hint texts.
    static QString backgroundHint();
    static QString editDirectHint();

Q_SIGNALS:
    // Help: 730 for this window, 710 from the source editor. The owner opens the help.
    void helpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void createControls();
    void createLayout();
    void connectControls();
    void FormShow();
    void lstELessonClick();
    void lstESectionClick();
    void lstEUnitClick();
    void btnAddClick();
    void btnChangeClick();
    void btnAdd2Click();
    void btnChange2Click();
    void btnExpandClick();
    void btnEditDirectClick();
    void btnOkClick();
    void btnCloseClick();

    void loadLesson(int lesson);
    void clearLesson();
    void buildTree(bool withMarks, int expandOnly);
    void refillSections();
    void selectSection(int section);
    void selectUnit(int unit);
    void setExpandButton(bool expanded);
    void setHint(const QString& text);
    void setEditable(bool editable);
    // The typed title as CP932 (original kept when it came back unchanged); nullopt after
    // telling the user about a character CP932 cannot hold.
    std::optional<std::string> typedTitle(const QString& text, const std::string& original);
    // Asks for a title in the input dialog; nullopt on Cancel or a refused character.
    std::optional<std::string> askTitle(const QString& mode, const std::string& current);
    // Shows what an edit reported; true when the lines changed.
    bool report(const EditResult& result);
    // The index lines with line 0 taken from edtMainTitle; nullopt after telling the user what
    // in the title cannot be written.
    std::optional<std::vector<std::string>> linesToSave();
    // Writes lines to the lesson index; false after telling the user why it failed.
    bool saveIndex(const std::vector<std::string>& lines);
    int currentLesson() const;  // 1-based, 0 when none
    int currentSection() const;
    int currentUnit() const;

    Prompter& m_prompter;
    bool& m_indexReloadPending;
    std::string m_programFolder;
    EditorLessonTable m_lessons;
    int m_loadedLesson = 0;  // 1-based; 0 when none could be loaded
    bool m_editable = false;
    std::vector<std::string> m_lines;
    std::vector<std::string> m_sectionTitles;  // CP932, as listed
    std::vector<std::string> m_unitTitles;     // of the listed section
    bool m_modified = false;
    bool m_expanded = true;
    bool m_hintGreen = false;
    std::vector<std::pair<QWidget*, QString>> m_hints;
};

}  // namespace sulkan
