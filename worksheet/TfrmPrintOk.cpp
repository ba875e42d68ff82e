#include "TfrmPrintOk.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "Kanji.h"
#include "Named.h"
#include "PracticePrinting.h"
#include "ProgressDialog.h"
#include "QtText.h"
#include "SheetPrintingTargets.h"

namespace sulkan {
namespace {

constexpr int kMinStartNumber = 1, kMaxStartNumber = 100;

}  // namespace

TfrmPrintOk::TfrmPrintOk(WorksheetHost& host, TfrmPrintMode& printMode, QWidget* parent)
    : QDialog(parent),
      lblPWidth(Named(new QLabel, "lblPWidth")),
      lblPHeight(Named(new QLabel, "lblPHeight")),
      lblSize(Named(new QLabel, "lblSize")),
      lblFit(Named(new QLabel, "lblFit")),
      btnSettei(Named(new QPushButton(QStringLiteral("プリンタ設定")), "btnSettei")),
      btnPrint(Named(new QPushButton(QStringLiteral("印刷開始")), "btnPrint")),
      btnClose(Named(new QPushButton(QStringLiteral("閉じる")), "btnClose")),
      btnPractice(Named(new QPushButton(QStringLiteral("練習用紙")), "btnPractice")),
      lblStartNum(Named(new QLabel(QStringLiteral("開始No")), "lblStartNum")),
      spnStartNum(Named(new QSpinBox, "spnStartNum")),
      m_host(host),
      m_printMode(printMode) {
    setObjectName(QStringLiteral("TfrmPrintOk"));
    setWindowTitle(QStringLiteral("印刷"));
    spnStartNum->setRange(kMinStartNumber, kMaxStartNumber);
    btnPrint->setDefault(true);

    auto* page = new QGridLayout;
    page->addWidget(lblPWidth, 0, 0);
    page->addWidget(lblPHeight, 0, 1);
    page->addWidget(lblSize, 1, 0, 1, 2);
    page->addWidget(lblFit, 2, 0, 1, 2);
    auto* start = new QHBoxLayout;
    start->addWidget(lblStartNum);
    start->addWidget(spnStartNum);
    start->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnSettei);
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnPractice);
    buttons->addWidget(btnClose);
    auto* root = new QVBoxLayout(this);
    root->addLayout(page);
    root->addLayout(start);
    root->addLayout(buttons);

    connect(btnSettei, &QPushButton::clicked, this, &TfrmPrintOk::btnSetteiClick);
    connect(btnPrint, &QPushButton::clicked, this, &TfrmPrintOk::btnPrintClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnPractice, &QPushButton::clicked, this, &TfrmPrintOk::btnPracticeClick);
    connect(spnStartNum, &QSpinBox::valueChanged, this, &TfrmPrintOk::spnStartNumChange);
}

TfrmPrintOk::~TfrmPrintOk() = default;

void TfrmPrintOk::usePrinter(Printer printer) {
    m_printer = std::move(printer);
}

TfrmPrintOk::Printer& TfrmPrintOk::printer() {
    if (!m_printer.target) {
        // Made on first use: looking for printers is slow and most runs never print.
        m_systemPrinter = std::make_unique<QPrinterTarget>();
        QPrinterTarget* system = m_systemPrinter.get();
        m_printer.target = system;
        m_printer.setup = [system](QWidget* parent) { return system->setup(parent); };
    }
    return m_printer;
}

int TfrmPrintOk::showFor(TfrmPrint* window) {
    return showFor(window, {});
}

int TfrmPrintOk::showFor(TfrmPrint* window, std::function<void(PrintSource&)> source) {
    if (!window) return QDialog::Rejected;
    m_source = std::move(source);
    m_window = window;
    // The print reuses the blanks of the sheet as drawn last; no pass may replace them now.
    m_host.sheetShared().blankRecording = false;
    showStartNumber(window->worksheet().params.StartNumber);
    FormShow();
    const int result = exec();
    m_window = nullptr;
    m_source = nullptr;
    return result;
}

void TfrmPrintOk::showStartNumber(int number) {
    const QSignalBlocker block(spnStartNum);
    spnStartNum->setValue(std::clamp(number, kMinStartNumber, kMaxStartNumber));
}

void TfrmPrintOk::FormShow() {
    showPageSize();
    lblSize->setText(QStringLiteral("用紙のサイズを ") +
                     QString::fromStdString(PaperNameOf(m_host.tickedPaperWidth())) +
                     QStringLiteral(" に設定してください"));
    setButtonsEnabled(true);
}

void TfrmPrintOk::showPageSize() {
    const PrintTarget& target = *printer().target;
    lblPWidth->setText(QStringLiteral("横：") + QString::number(target.pageWidth()));
    lblPHeight->setText(QStringLiteral("縦：") + QString::number(target.pageHeight()));
    const int sheetWidth = m_window ? m_window->worksheet().sheetWidth() : 0;
    lblFit->setText(ToQString(FitNotice(sheetWidth, target.paperSize())));
}

bool TfrmPrintOk::choosePrinter() {
    Printer& p = printer();
    if (!p.setup || !p.setup(this)) return false;
    m_printerChosen = true;
    showPageSize();
    return true;
}

void TfrmPrintOk::btnSetteiClick() {
    choosePrinter();
}

void TfrmPrintOk::btnPrintClick() {
    if (!m_window) return;
    if (!m_printerChosen && !choosePrinter()) return;
    lblSize->setText(QStringLiteral("印刷中"));
    setButtonsEnabled(false);
    lblSize->repaint();
    const PrintResult result = printJob();
    if (const auto said = result.said()) m_host.prompter().message(*said);
    setButtonsEnabled(true);
    if (result.stopped()) {
        // The user may start the printer again or choose another one and print from here.
        lblSize->setText(QStringLiteral("印刷できませんでした"));
        return;
    }
    if (result.cancelled) {
        // The copies not printed are what "印刷開始" prints next, numbered on from the last.
        lblSize->setText(QStringLiteral("印刷を中止しました"));
        return;
    }
    lblSize->setText(QStringLiteral("印刷完了"));
    accept();
}

void TfrmPrintOk::btnPracticeClick() {
    if (!m_window) return;
    if (!m_printerChosen && !choosePrinter()) return;
    lblSize->setText(QStringLiteral("印刷中"));
    setButtonsEnabled(false);
    lblSize->repaint();
    // The answers of the sheet as its window drew it last.
    const Worksheet& worksheet = m_window->worksheet();
    const Result<int> printed = PrintPracticeSheet(
        *printer().target, worksheet, PracticeKanjiOf(worksheet), StrokeOrderFontFamily());
    setButtonsEnabled(true);
    if (!printed) {
        m_host.prompter().message(printed.problem().message);
        lblSize->setText(QStringLiteral("印刷できませんでした"));
        return;
    }
    lblSize->setText(QStringLiteral("印刷完了"));
    accept();
}

PrintResult TfrmPrintOk::printJob() {
    TfrmPrint* window = m_window;
    // The reduced view is only a view: back to the full sheet before it goes to paper.
    if (m_host.shrunk()) m_host.toggleShrink();
    Worksheet& worksheet = window->worksheet();
    PrintSource source;
    source.worksheet = &worksheet;
    // What is printed is the sheet as its window shows it, answers or not, and the job says so.
    source.view = ViewOf(m_host);
    source.view.answersShown = window->answersShown();
    const PrintMode mode = m_printMode.mode();
    if (mode == PrintMode::PrinterResolution) {
        // Missing figures were reported when the window loaded them.
        const int lesson = std::max(1, worksheet.address.lesson);
        source.pictures = LoadSheetPictures(worksheet, m_host.programFolder(),
                                            m_host.figureFolder(lesson), nullptr);
    }
    source.screenImage = window->sheetImage();
    source.redrawScreen = [window, answers = source.view.answersShown] {
        window->Redraw(answers);
        return window->sheetImage();
    };
    if (m_source) m_source(source);
    ProgressDialog dialog(this, QStringLiteral("印刷"));
    Progress* progress = m_progress ? m_progress : &dialog;
    return PrintWorksheet(source, mode, m_printMode, *printer().target, m_host.sheetShared(),
                          progress);
}

void TfrmPrintOk::spnStartNumChange(int value) {
    if (!m_window) return;
    Worksheet& worksheet = m_window->worksheet();
    worksheet.params.StartNumber = value;
    worksheet.modified = true;
    m_window->Redraw();
}

void TfrmPrintOk::setButtonsEnabled(bool enabled) {
    for (QPushButton* button : {btnSettei, btnPrint, btnClose, btnPractice})
        button->setEnabled(enabled);
}

}  // namespace sulkan
