// The question editor: one unit of a question file in editing fields, one per block, with the
// answers extracted, the choice list rebuilt, markup, numbering and figures, a live preview of the
// question and answer sheets (PreviewSheets), and OK writing the unit back into its file. TfrmBMP
// shows a figure enlarged.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "CourseTree.h"
#include "DrillText.h"
#include "EditorPreview.h"
#include "EditorText.h"
#include "PreviewSheets.h"
#include "Prompter.h"
#include "QuestionEditing.h"
#include "SheetImage.h"
#include "SheetState.h"
#include "TfrmBMP.h"
#include "UnitAddress.h"
#include "Worksheet.h"

namespace sulkan {

class TfrmEditSource;

// What the editor is opened on, as plain values from the main window.
struct QuesEditRequest {
    std::string programFolder;  // CP932
    const CourseTables* course = nullptr;
    UnitAddress address;
    bool newUnit = false;  // from unit selection's create-it question: no direct edit
    // The active worksheet, or none. When it shows this unit, its layout and figures replace the
    // unit's, so what the teacher sees is what is saved.
    const Worksheet* worksheet = nullptr;
    std::vector<TextPieceStart> textPieces;  // of the last drawn worksheet, for new figures
    ScreenView view;                         // for the preview
    // As chosen in unit selection, for the preview's title (an open worksheet of this unit
    // gives its own).
    UnitTitles titles;
};

class TfrmEditQues : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEditQues(Prompter& prompter, QWidget* parent = nullptr);

    // Opens the editor modally on the request's unit; Accepted when OK saved it.
    int showFor(const QuesEditRequest& request);
    // The unit edited last (an open worksheet of it is read again after OK).
    const UnitAddress& editedAddress() const { return m_request.address; }
    bool modified() const { return m_modified; }

    // After OK and Cancel: the main window marks the similar problems stale and counts the unit
    // marks again.
    std::function<void()> RecountMarksHook;

    TfrmEditSource* frmEditSource;
    TfrmBMP* frmBMP;

    QLineEdit* edtLesson;
    QLineEdit* edtFileName;
    QLineEdit* edtTangen;
    QPlainTextEdit* MemQues;
    QPlainTextEdit* memDummy;
    QPlainTextEdit* memKgroup;
    QPlainTextEdit* memHint;
    QLineEdit* edtSoftKeyB;
    QListWidget* lstSoftKeyB;
    QPlainTextEdit* memQGraph;
    QPlainTextEdit* memAGraph;
    QPlainTextEdit* memPasteLo;
    QListWidget* lstKai;
    QLabel* lblKosuh;
    QLabel* lblKosuh2;
    QLabel* lblKosuh3;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    QPushButton* btnEditDirect;
    QPushButton* btnTest;
    QPushButton* btnKgAdd;
    QPushButton* btnDummy;
    QCheckBox* chkSuuji;
    QCheckBox* chkKigou;
    QPushButton* btnKai;
    QPushButton* btnKakko;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* btnUB;
    QPushButton* btnNumber;
    QPushButton* btnQGAdd;
    QPushButton* btnAGAdd;
    QPushButton* btnQGClear;
    QPushButton* btnAGClear;
    QListWidget* flbGraph;
    QLabel* imgGraph;
    // The live preview: both sheets and the first problem found.
    PreviewSheets* pnlPreview;
    QLabel* lblPreviewProblem;
    QTimer* tmrPreview;

    // The preview as it was drawn last (also before the timer fires, when called directly).
    void updatePreview();
    const SoftKeys& softKeys() const { return m_softKeys; }

Q_SIGNALS:
    void helpRequested(int context);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public Q_SLOTS:
    void reject() override;

private:
    void createControls();
    void layOut();
    void connectControls();
    void FormShow();
    void loadUnit(bool fromWorksheet);
    void setFields(const QuestionFields& fields);
    std::optional<std::vector<std::string>> fieldLines(QPlainTextEdit* field);
    // The field's name in messages (CP932), as its label shows it.
    std::string fieldName(const QPlainTextEdit* field) const;
    // Every field but the choice list, which OK makes afresh.
    std::optional<QuestionFields> readFields();
    bool btnTestClick();
    void showAnswers(std::vector<std::string> answers);
    void btnKgAddClick();
    void btnDummyClick();
    void markup(Markup kind);
    void btnNumberClick();
    void addFigures(QPlainTextEdit* target, bool answerFigures);
    void flbGraphClick(QListWidgetItem* item);
    bool btnOkClick();
    void btnCancelClick();
    void btnEditDirectClick();
    void updateCounts();
    LoadOptions previewOptions() const;
    void replaceText(QPlainTextEdit* field, const std::vector<std::string>& lines);
    void placeCaretAtLine(QPlainTextEdit* field, int line);
    void fieldEdited();
    void finish(int result);

    Prompter& m_prompter;
    QuesEditRequest m_request;
    std::string m_path;       // the question file, CP932
    std::string m_fileBytes;  // as read or last saved
    std::vector<std::string> m_fileLines;
    KeptSpellings m_spellings;  // of the lines as read, whose bytes unedited lines keep
    // The answers of the last extraction as they are spelled in the question lines: a choice is
    // right only when it has the answer's own bytes.
    std::vector<std::string> m_answers;
    std::string m_figureFolder;
    std::string m_softKeyOriginal;
    SoftKeys m_softKeys;
    SheetShared m_previewShared;
    SheetPictures m_previewPictures;
    std::optional<std::vector<std::string>> m_previewFigureNames;  // none: read them
    bool m_modified = false;
    bool m_loading = false;
    bool m_canSave = true;
};

}  // namespace sulkan
