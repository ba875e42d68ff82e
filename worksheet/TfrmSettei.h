// The layout settings dialog: answer-box style and size and the answer face of the active
// worksheet, applied as they change. Its value fields also hold the active worksheet's box, answer
// position and margin values for the main window and the drill while the dialog is closed.
#pragma once

#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <string>
#include <vector>

#include "TfrmPrint.h"
#include "Worksheet.h"
#include "WorksheetHost.h"

namespace sulkan {

class TfrmSettei : public QDialog {
    Q_OBJECT
public:
    // The answer-face list is built from the installed running-script faces.
    explicit TfrmSettei(WorksheetHost& host, QWidget* parent = nullptr);
    // answerFaces: CP932 face names for lstFont, in the order shown.
    TfrmSettei(WorksheetHost& host, std::vector<std::string> answerFaces,
               QWidget* parent = nullptr);

    // The worksheet every change is written into; none makes the fields plain value holders.
    // A worksheet window that is destroyed stops being the target by itself.
    void setActiveWorksheet(TfrmPrint* worksheet);
    TfrmPrint* activeWorksheet() const { return m_active; }

    // Copies a worksheet's values into every field without writing anything back: the worksheet
    // is neither redrawn nor marked modified. The answer-face field shows its face.
    void fillFrom(const Worksheet& worksheet);

    // Fills the box fields from the worksheet, switches the answer display on if it is off and
    // shows the dialog modally for that worksheet, which becomes the active one. Returns the
    // dialog's result (Accepted through btnOk); without a worksheet nothing is shown.
    int openFor(TfrmPrint* worksheet);

    QGroupBox* grbKind;
    QRadioButton* radNon;
    QRadioButton* radShikaku;
    QRadioButton* radKakko;  // never shown
    QRadioButton* radLine;   // never shown
    QRadioButton* radKasen;
    QRadioButton* radRound;
    QSpinBox* spnKranWX;
    QSpinBox* spnKranH;
    // Never shown: value holders only.
    QSpinBox* spnKranX;
    QSpinBox* spnKranY;
    QSpinBox* spnAnsX;
    QSpinBox* spnAnsY;
    QSpinBox* spnLeftM;
    QSpinBox* spnRightM;

    QSpinBox* spnFontSize;
    QListWidget* lstFont;
    QPushButton* btnMincho;
    QLineEdit* edtKaiFont;
    QPushButton* btnOk;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // While alive, field changes are program fills: nothing is written into the worksheet.
    class Filling;

    void createControls();
    void createLayout();
    void connectControls();
    void setKeyboardOrder();
    void FormShow();
    // True when the key is used up here rather than passed on to the focused field.
    bool FormKeyDown(const QKeyEvent& key);
    void styleButtonToggled(int style, bool checked);
    void styleButtonFocused(QRadioButton* button, Qt::FocusReason reason);
    void valueChange(int LayoutParams::*param, int value);
    void spnFontSizeChange(int value);
    void lstFontClick(QListWidgetItem* item);
    void btnMinchoClick();
    void btnOkClick();

    // Checks the button of a style (any unknown style: radNon) and sets which size fields are
    // usable, without applying the style to the worksheet.
    void selectStyle(int style);
    void setSizeFieldsEnabled(int style);
    // The style, the four box fields and the answer face.
    void fillBoxFields(const LayoutParams& params);
    void chooseAnswerFace(const std::string& face);
    void placeOnScreen();
    // The worksheet a change goes to: the active one, unless the fields are being filled.
    TfrmPrint* changeTarget() const;
    void applied(TfrmPrint* worksheet);

    WorksheetHost& m_host;
    QButtonGroup* m_styles;
    std::vector<std::string> m_faces;  // CP932, one per row of lstFont
    QPointer<TfrmPrint> m_active;
    int m_filling = 0;
};

}  // namespace sulkan
