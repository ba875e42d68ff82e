// The main window's layout and view controls: paper radios, column choice, box width, sub line
// spacing, the reduced view, scrolling and nudging the answer boxes. Each does nothing without a
// worksheet; otherwise it changes the active worksheet and redraws it. Also the Window menu's
// cascade and tile.
#include <QApplication>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStyle>

#include "Settings.h"
#include "TfrmMain.h"
#include "TfrmPrint.h"
#include "TfrmSettei.h"
#include "WindowArrangement.h"

namespace sulkan {

void TfrmMain::connectLayoutControls() {
    const PaperIndex order[] = {kB5, kA4, kB4, kA3};
    QRadioButton* radios[] = {radB5, radA4, radB4, radA3};
    for (int i = 0; i < 4; ++i) {
        PaperIndex index = order[i];
        connect(radios[i], &QRadioButton::clicked, this, [this, index] {
            tickPaperRadio(index);
            ApplyPaper(m_state.PaperTable[index]);
        });
    }
    connect(cmbRetsuX, &QComboBox::currentIndexChanged, this, &TfrmMain::cmbRetsuXChange);
    // The answer width lives in the layout dialog; this holder only triggers taking it over.
    connect(spnKranWX, &QSpinBox::valueChanged, this,
            [this] { spnLayoutChange(&LayoutParams::BoxWidth, frmSettei->spnKranWX->value()); });
    connect(spnGyoukanSub, &QSpinBox::valueChanged, this,
            [this](int v) { spnLayoutChange(&LayoutParams::SubLineSpacing, v); });
    connect(btnShukusho, &QPushButton::clicked, this, &TfrmMain::btnShukushoClick);
    connect(btnScroll, &QPushButton::clicked, this, &TfrmMain::btnScrollClick);
    auto step = [] { return (QApplication::keyboardModifiers() & Qt::ShiftModifier) ? 4 : 1; };
    connect(btnUp, &QPushButton::clicked, this, [this, step] { nudgeBoxes(0, -step()); });
    connect(btnDown, &QPushButton::clicked, this, [this, step] { nudgeBoxes(0, step()); });
    connect(btnLeft, &QPushButton::clicked, this, [this, step] { nudgeBoxes(-step(), 0); });
    connect(btnRight, &QPushButton::clicked, this, [this, step] { nudgeBoxes(step(), 0); });
    btnShukusho->setIcon(QIcon(imgMaruYL->pixmap()));
    connect(mnuCascade, &QAction::triggered, this, &TfrmMain::mnuCascadeClick);
    connect(mnuTile, &QAction::triggered, this, &TfrmMain::mnuTileClick);
}

std::vector<QMdiSubWindow*> TfrmMain::arrangedWorksheets() const {
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : mdiArea->subWindowList(QMdiArea::StackingOrder))
        if (qobject_cast<TfrmPrint*>(sub->widget()) && sub->isVisible() && !sub->isMinimized())
            windows.push_back(sub);
    return windows;
}

void TfrmMain::mnuCascadeClick() {
    const std::vector<QMdiSubWindow*> windows = arrangedWorksheets();
    std::vector<WindowExtent> wanted;
    for (QMdiSubWindow* sub : windows) {
        if (sub->isMaximized()) sub->showNormal();
        auto* sheet = static_cast<TfrmPrint*>(sub->widget());
        // The window's own frame, title, menu and scroll bar around the whole sheet.
        const QSize chrome = sub->size() - sheet->ScrollBox->viewport()->size();
        const QSize page = sheet->ScrollBox->widget()->sizeHint();
        const int bar = sheet->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        wanted.push_back({page.width() + chrome.width() + bar, page.height() + chrome.height()});
    }
    const QSize area = mdiArea->viewport()->size();
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight) + 4;
    const auto boxes = CascadeWindows({area.width(), area.height()}, wanted, step);
    for (std::size_t i = 0; i < windows.size(); ++i)
        windows[i]->setGeometry(boxes[i].x, boxes[i].y, boxes[i].width, boxes[i].height);
}

void TfrmMain::mnuTileClick() {
    const std::vector<QMdiSubWindow*> windows = arrangedWorksheets();
    const QSize area = mdiArea->viewport()->size();
    const auto boxes = TileWindows({area.width(), area.height()}, static_cast<int>(windows.size()));
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (windows[i]->isMaximized()) windows[i]->showNormal();
        windows[i]->setGeometry(boxes[i].x, boxes[i].y, boxes[i].width, boxes[i].height);
    }
}

void TfrmMain::tickPaperRadio(PaperIndex index) {
    QRadioButton* radios[] = {radB5, radA4, radB4, radA3};
    for (int i = 0; i < 4; ++i) radios[i]->setChecked(i == index);
}

void TfrmMain::untickPaperRadios() {
    for (QRadioButton* r : {radB5, radA4, radB4, radA3}) r->setChecked(false);
}

void TfrmMain::SetPaperRadiosEnabled(bool enabled) {
    for (QRadioButton* r : {radB5, radA4, radB4, radA3}) r->setEnabled(enabled);
}

int TfrmMain::tickedPaperWidth() const {
    return TickedPaper().width;
}

PaperRecord TfrmMain::TickedPaper() const {
    if (radB5->isChecked()) return m_state.PaperTable[kB5];
    if (radA4->isChecked()) return m_state.PaperTable[kA4];
    if (radB4->isChecked()) return m_state.PaperTable[kB4];
    return m_state.PaperTable[kA3];
}

void TfrmMain::ApplyPaper(const PaperRecord& paper) {
    TfrmPrint* w = activeWorksheet();
    if (!w) return;
    w->worksheet().params.PaperWidth = paper.width;
    if (m_shrunk)
        btnShukushoClick();  // back to full size, which redraws
    else
        w->Redraw();
    MarkWorksheetModified();
    FocusMain();
}

void TfrmMain::SelectPaperByWidth(int width) {
    switch (width) {
        case kB5Width:
            tickPaperRadio(kB5);
            ApplyPaper(m_state.PaperTable[kB5]);
            break;
        case kA4Width:
            tickPaperRadio(kA4);  // only ticked: the worksheet keeps its paper
            break;
        case kB4Width:
            tickPaperRadio(kB4);
            ApplyPaper(m_state.PaperTable[kB4]);
            break;
        case kA3Width:
            tickPaperRadio(kA3);
            ApplyPaper(m_state.PaperTable[kA3]);
            break;
        default:
            break;
    }
}

void TfrmMain::SetCurrentPaper(const PaperRecord& paper) {
    tickPaperRadio(PaperIndexForWidth(paper.width));
    m_state.CurrentPaper = PaperFromWidth(paper.width);
}

void TfrmMain::TogglePaperFixed() {
    if (!activeWorksheet()) return;
    PaperRecord p = TickedPaper();
    m_state.PaperFixed = !m_state.PaperFixed;
    SetPaperRadiosEnabled(!m_state.PaperFixed);
    SelectPaperByWidth(p.width);
}

void TfrmMain::applyPaperChoice(int width) {
    if (!activeWorksheet()) return;
    SetCurrentPaper(PaperFromWidth(width));
    m_state.PaperFixed = !m_state.PaperFixed;
    TogglePaperFixed();
    WriteIntSetting(m_settings, "PaperSize", width);
}

void TfrmMain::btnShukushoClick() {
    TfrmPrint* w = activeWorksheet();
    if (!w) return;
    m_shrunk = !m_shrunk;
    btnShukusho->setIcon(QIcon(m_shrunk ? imgMaruGR->pixmap() : imgMaruYL->pixmap()));
    btnShukusho->setText(m_shrunk ? QStringLiteral("拡大") : QStringLiteral("縮小"));
    m_shared.layoutDialogReady = true;
    w->Redraw();
}

void TfrmMain::toggleShrink() {
    btnShukushoClick();
}

void TfrmMain::btnScrollClick() {
    TfrmPrint* w = activeWorksheet();
    if (!w) return;
    QScrollBar* bar = w->ScrollBox->verticalScrollBar();
    if (bar->value() <= 0)
        bar->setValue(w->sheetImage().height() - w->height() + 32);
    else
        bar->setValue(0);
}

void TfrmMain::scrollActive() {
    btnScrollClick();
}

void TfrmMain::cmbRetsuXChange(int index) {
    TfrmPrint* w = activeWorksheet();
    if (!w || !m_shared.redrawEnabled) return;
    // "２列（横）" and "２列（縦）" both make a two-column sheet: only "2" draws the divider.
    int column = index == 0 ? 0 : 2;
    int before = w->worksheet().params.ColumnMode;
    w->worksheet().params.ColumnMode = column;
    w->Redraw();
    if (before != column) MarkWorksheetModified();
}

void TfrmMain::nudgeBoxes(int dx, int dy) {
    // The layout dialog's offset fields store the change into the active worksheet.
    if (activeWorksheet()) {
        if (dx) frmSettei->spnKranX->setValue(frmSettei->spnKranX->value() + dx);
        if (dy) frmSettei->spnKranY->setValue(frmSettei->spnKranY->value() + dy);
    }
    FocusMain();
}

}  // namespace sulkan
