// The worksheet window: a child window of the main frame that owns one worksheet, shows its sheet
// image full size or reduced, owns the worksheet's menus (the frame shows them in its own bar),
// moves figures and frames regions of the sheet with the mouse, and asks about unsaved changes
// when it closes.
#pragma once

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QList>
#include <QMenu>
#include <QPoint>
#include <QScrollArea>
#include <QWidget>
#include <optional>
#include <set>
#include <vector>

#include "Canvas.h"
#include "SheetFigures.h"
#include "SheetImage.h"
#include "Worksheet.h"
#include "WorksheetHost.h"

class QMouseEvent;

namespace sulkan {

class TfrmPrint : public QWidget {
    Q_OBJECT
public:
    TfrmPrint(WorksheetHost& host, Worksheet worksheet, QWidget* parent = nullptr);

    Worksheet& worksheet() { return m_worksheet; }
    const Worksheet& worksheet() const { return m_worksheet; }
    // The identity the main window lists: the worksheet identity of a unit, or a copy's path.
    // The caption starts as the identity and may later show the worksheet's title instead.
    const QString& identity() const { return m_identity; }
    void setIdentity(const QString& identity) { m_identity = identity; }
    // Shows CP932 text as the caption, with a path's separators in the system's form, and keeps
    // its bytes, so questions naming the window quote them and not Unicode encoded again.
    void setCaption(const std::string& cp932);

    // Draws the sheet again from scratch and shows it (or the reduced view). Does nothing while
    // drawing is suppressed.
    void Redraw();
    // The same with the answers shown or not as given, whatever the main window's display says.
    void Redraw(bool answersShown);
    // Drawn while another sheet is in front: the size control shows that sheet's size, so this
    // one is drawn at its own.
    void RedrawBehind();
    // Whether the sheet image as shown now carries the answers.
    bool answersShown() const { return m_answersShown; }
    // Loads the figure pictures of the worksheet's triples and the class flag again; a missing
    // figure file is reported and its place stays empty.
    void LoadPictures();
    const QImage& sheetImage() const { return m_image; }
    // The sheet as the window shows it without frames drawn over it, at the screen's density.
    const QImage& shownSheet() const { return m_display; }
    // Where the last drawing put the figures, sheet units.
    const FigurePlacement& figurePlaces() const { return m_figures; }

    void scrollToTop();

    // Writes the worksheet back into its unit of the question file ("上書き保存"). Only an
    // unchanged master may; anything else is refused quietly. True when the file was written.
    bool saveMaster();
    // Saves the worksheet as a copy file named in the save dialog ("名前を付けて保存"); the window
    // then goes by the file's path. True when saved.
    bool saveAsCopy();
    // Takes the frame of a selected region off the sheet, after the main window copied the
    // region or cancelled the copy.
    void EraseSelection();

    // The window has no menu bar of its own: while it is the active worksheet the frame's bar
    // carries these menus, in this order (File, Edit, View, Settings).
    QList<QMenu*> menus() const { return {mnuFile, mnuEdit, mnuShow, mnuSetting}; }
    QMenu* mnuFile;
    QAction* mnuOpenMaster;
    QAction* mnuAdd;
    QAction* mnuSaveMaster;
    QAction* mnuPrint;
    QAction* mnuClose;
    QAction* mnuExit;
    QMenu* mnuEdit;
    QAction* mnuEditIndex;
    QAction* mnuJuku;
    QAction* mnuEditMaster;
    QAction* mnuToClipBoard;
    QMenu* mnuShow;
    QAction* mnuKaitou;
    QMenu* mnuSetting;
    QAction* mnuSetPrinter;
    QAction* mnuSetKran;
    QAction* mnuSetPaper;

    QScrollArea* ScrollBox;
    QLabel* Image1;  // the sheet image, full size
    QLabel* Image2;  // the reduced view

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class SaveOutcome { Saved, Cancelled, Failed };
    enum class Gesture { None, MovingFigure, Framing };
    // A frame on the sheet through its two corners, sheet units, in any order.
    struct Frame {
        QPoint from, to;
    };

    void createMenus();
    void connectMenus();
    void redraw(const ScreenView& view);
    void mnuFilePopup();
    void mnuShowPopup();
    void mnuCloseClick();
    void mnuEditIndexClick();
    void mnuToClipBoardClick();
    void mnuKaitouClick();

    bool FormCloseQuery();
    SaveOutcome saveCopy();

    void Image1MouseDown(QMouseEvent* event);
    void Image1MouseMove(QMouseEvent* event);
    void Image1MouseUp(QMouseEvent* event);
    int figureAt(QPoint point) const;  // index of the topmost visible figure there, or -1
    QPoint onSheet(QPoint point) const;
    void moveFigure(int place, QPoint travel);
    // Shows the sheet image with what the mouse draws over it, on a copy: the sheet image itself
    // stays clean for copying and printing.
    void showSheet();

    WorksheetHost& m_host;
    Worksheet m_worksheet;
    QString m_identity;
    std::string m_captionBytes;
    QImage m_image;    // the sheet at its own size: printing, the clipboard, the main window
    QImage m_display;  // what the window shows: m_image, or drawn again for a high-density screen
    bool m_answersShown = false;
    SheetPictures m_pictures;
    std::set<std::string> m_messagesShown;
    FigurePlacement m_figures;
    bool m_closed = false;

    Gesture m_gesture = Gesture::None;
    int m_movingFigure = -1;
    QPoint m_pressPoint, m_pointer;  // sheet units
    std::optional<Frame> m_selection;
};

}  // namespace sulkan
