// The worksheet window: a child window of the main frame that owns one worksheet and shows its
// sheet image, full size or reduced.
#pragma once

#include <QImage>
#include <QLabel>
#include <QScrollArea>
#include <QWidget>
#include <set>
#include <vector>

#include "Canvas.h"
#include "Worksheet.h"
#include "WorksheetHost.h"

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

    // Draws the sheet again from scratch and shows it (or the reduced view). Does nothing while
    // drawing is suppressed.
    void Redraw();
    // Loads the figure pictures of the worksheet's triples and the class flag again; a missing
    // figure file is reported and its place stays empty.
    void LoadPictures();
    const QImage& sheetImage() const { return m_image; }

    void scrollToTop();

    QScrollArea* ScrollBox;
    QLabel* Image1;  // the sheet image, full size
    QLabel* Image2;  // the reduced view

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    WorksheetHost& m_host;
    Worksheet m_worksheet;
    QString m_identity;
    QImage m_image;
    Bitmap m_classFlag;
    std::vector<Bitmap> m_questionPictures, m_answerPictures;
    std::set<std::string> m_messagesShown;
};

}  // namespace sulkan
