#include "SheetPrinting.h"

#include <QClipboard>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>

#include "QtCanvas.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {
namespace {

constexpr int kFaithfulInset = 6;  // sheet units between the page's left edge and the image
constexpr double kScreenDpi = 96.0;
constexpr double kSheetUnitsPerMm = 3.0;
constexpr double kFitTolerance = 0.01;  // paper this close to the sheet's own needs no scaling
constexpr double kMmPerInch = 25.4;

// "A4" for paper within a millimetre of a paper of ours, else its size ("216×279mm").
std::string PaperNameOfSize(QSizeF paper) {
    for (int width : {546, 630, 771, 891}) {
        const QSizeF own = PageSizeOf(width).size(QPageSize::Millimeter);
        if (std::abs(own.width() - paper.width()) < 1 &&
            std::abs(own.height() - paper.height()) < 1)
            return PaperNameOf(width);
    }
    return IntText(RoundToInt(paper.width())) + sjis("×") + IntText(RoundToInt(paper.height())) +
           "mm";
}

}  // namespace

QSizeF PrintTarget::paperSize() const {
    if (resolution() <= 0) return {};
    return QSizeF(pageWidth(), pageHeight()) * (kMmPerInch / resolution());
}

std::unique_ptr<Canvas> PrintTarget::canvasFor(QPainter& painter) {
    return std::make_unique<PainterCanvas>(painter);
}

std::string NumberText(bool numberingOn, int startNumber) {
    if (!numberingOn) return {};
    static const std::string mark = sjis("№ ");
    return mark + IntText(startNumber);
}

std::string PaperNameOf(int sheetWidth) {
    switch (sheetWidth) {
        case 546:
            return "B5";
        case 771:
            return "B4";
        case 891:
            return "A3";
        default:
            return "A4";
    }
}

QPageSize PageSizeOf(int sheetWidth) {
    switch (sheetWidth) {
        case 546:
            return QPageSize(QPageSize::JisB5);
        case 771:
            return QPageSize(QPageSize::JisB4);
        case 891:
            return QPageSize(QPageSize::A3);
        default:
            return QPageSize(QPageSize::A4);
    }
}

std::string JobNameOf(const Worksheet& worksheet, bool answers, const std::string& numberText) {
    std::string name = TrimWide(worksheet.content.title);
    if (name.empty()) {
        // A copy file may have no title; its file name still tells the sheets apart.
        const std::size_t slash = worksheet.filePath.find_last_of("\\/");
        name =
            slash == std::string::npos ? worksheet.filePath : worksheet.filePath.substr(slash + 1);
    }
    name += ' ' + sjis(answers ? "解答" : "問題");
    if (!numberText.empty()) name += ' ' + numberText;
    return name;
}

double FitScale(int sheetWidth, QSizeF paper) {
    if (sheetWidth <= 0 || paper.width() <= 0 || paper.height() <= 0) return 1.0;
    const double ownWidth = sheetWidth / kSheetUnitsPerMm, ownHeight = ownWidth * std::sqrt(2.0);
    const double fit = std::min(paper.width() / ownWidth, paper.height() / ownHeight);
    return std::abs(fit - 1.0) < kFitTolerance ? 1.0 : fit;
}

std::string FitNotice(int sheetWidth, QSizeF paper) {
    const double fit = FitScale(sheetWidth, paper);
    if (fit == 1.0) return {};
    return PaperNameOf(sheetWidth) + sjis(" のシートを ") + PaperNameOfSize(paper) +
           sjis(fit < 1 ? " の用紙に合わせて縮小して印刷します（"
                        : " の用紙に合わせて拡大して印刷します（") +
           IntText(RoundToInt(fit * 100)) + sjis("％）");
}

RenderInputs PrinterInputs(const Worksheet& worksheet, const ScreenView& view,
                           const SheetPictures& pictures, int pageWidth, int pageHeight,
                           int resolution) {
    RenderInputs in = ScreenInputs(worksheet, view, pictures);
    in.target = PrinterTarget(worksheet, pageWidth, pageHeight, resolution / kScreenDpi);
    // Page width ÷ 630 fits only A4 sheets to their page: a B4 or A3 sheet would run off its
    // paper and a B5 one shrink. Scaling by the sheet's own width keeps every paper whole.
    in.target.s = in.target.r;
    return in;
}

QRect FaithfulPageRect(QSize sheetImage, int pageWidth) {
    if (sheetImage.width() <= 0) return {};
    const double s = static_cast<double>(pageWidth) / sheetImage.width();
    return QRect(RoundToInt(kFaithfulInset * s), 0, RoundToInt(sheetImage.width() * s),
                 RoundToInt(sheetImage.height() * s));
}

bool PrintAtPrinterResolution(PrintTarget& target, Worksheet& worksheet, const ScreenView& view,
                              const SheetPictures& pictures, const std::string& numberText,
                              SheetShared& shared, RenderOutput* output,
                              const std::function<void(RenderInputs&)>& adjust) {
    QPainter* painter = target.beginJob();
    if (!painter) return false;
    // On other paper the sheet is drawn as on its own and the page scaled as a whole: scaling
    // positions alone would leave the text at its size and garble the sheet.
    const double fit = FitScale(worksheet.sheetWidth(), target.paperSize());
    if (fit != 1.0) painter->scale(fit, fit);
    RenderInputs in = PrinterInputs(worksheet, view, pictures, RoundToInt(target.pageWidth() / fit),
                                    RoundToInt(target.pageHeight() / fit), target.resolution());
    in.stamp.numberText = numberText;
    if (adjust) adjust(in);
    RenderOutput out;
    {
        std::unique_ptr<Canvas> canvas = target.canvasFor(*painter);
        out = RenderSheet(worksheet, *canvas, in, shared);
    }
    const bool drawn = out.drawn;
    if (output) *output = std::move(out);
    if (!drawn) {
        target.abortJob();
        return false;
    }
    return target.endJob();
}

bool PrintSheetImage(PrintTarget& target, const QImage& sheetImage) {
    if (sheetImage.isNull()) return false;
    QPainter* painter = target.beginJob();
    if (!painter) return false;
    // An image of a high-density screen covers the same page, in more detail.
    const QSize sheetSize = sheetImage.deviceIndependentSize().toSize();
    painter->drawImage(FaithfulPageRect(sheetSize, target.pageWidth()), sheetImage);
    return target.endJob();
}

std::optional<std::string> PrintResult::said() const {
    if (problem) return problem->message;
    if (cancelled) {
        std::string text = sjis("印刷を中止しました。") + IntText(jobs) +
                           sjis(" 部を印刷に回し、残りの ") + IntText(copiesLeft) +
                           sjis(" 部は印刷していません");
        if (!note.empty()) text += "\r\n" + note;
        return text;
    }
    if (!note.empty()) return note;
    return std::nullopt;
}

PrintResult PrintWorksheet(const PrintSource& source, PrintMode mode, PrintNumbering& numbering,
                           PrintTarget& target, SheetShared& shared, Progress* progress) {
    PrintResult result;
    if (!source.worksheet) return result;
    const TargetCheck ready = target.check();
    if (!ready) {
        result.problem = ready.problem();
        return result;
    }
    // Activating a window while jobs run must not copy its values into the controls.
    ScopedFlag pause(shared.activationFillEnabled, false);

    const bool numbered = numbering.numberingOn();
    int copies = 1;
    if (numbered) {
        // Each copy is a job of its own so that it carries its own number.
        copies = std::max(1, target.copyCount());
        target.setCopyCount(1);
    }
    // The faithful mode prints what the screen shows; with numbering the screen is drawn again
    // for each copy, or every copy would carry the same number.
    const bool redrawEach = numbered && source.redrawScreen;
    const std::string sheetName = JobNameOf(*source.worksheet, source.view.answersShown, {});
    ProgressRun run(copies > 1 ? progress : nullptr, copies, sheetName + sjis(" を印刷しています"));
    for (int copy = 0; copy < copies; ++copy) {
        const std::string numberText = NumberText(numbered, numbering.startNumber());
        target.setJobName(JobNameOf(*source.worksheet, source.view.answersShown, numberText));
        bool done = false;
        if (mode == PrintMode::Faithful) {
            const QImage image = redrawEach ? source.redrawScreen() : source.screenImage;
            if (image.isNull()) {
                result.problem = Problem(sjis("印刷するシートの画像がありません"));
                break;
            }
            done = PrintSheetImage(target, image);
        } else {
            // What the printer pass would say the screen pass has said already.
            done = PrintAtPrinterResolution(target, *source.worksheet, source.view, source.pictures,
                                            numberText, shared, nullptr, source.adjustInputs);
        }
        if (!done) {
            std::string why = target.failure();
            if (why.empty()) why = sjis("印刷を完了できませんでした");
            if (result.jobs > 0)
                why += "\r\n" + IntText(result.jobs) + sjis(" 部は印刷に回しました");
            result.problem = Problem(std::move(why));
            // Printing again goes on with the copy that failed and the ones after it.
            if (numbered) target.setCopyCount(copies - copy);
            break;
        }
        ++result.jobs;
        numbering.setStartNumber(numbering.startNumber() + 1);
        // A stop asked for during the last job comes too late to leave anything out.
        if (!run.step(result.jobs, numberText) && copy + 1 < copies) {
            result.cancelled = true;
            result.copiesLeft = copies - result.jobs;
            target.setCopyCount(result.copiesLeft);
            break;
        }
    }
    if (!result.stopped()) result.note = ready.value();
    if (!result.stopped() && !result.cancelled) numbering.setStartNumber(1);
    // The screen shows the number the next print starts with.
    if (numbered && source.redrawScreen) source.redrawScreen();
    return result;
}

void CopySheetToClipboard(const QImage& sheetImage) {
    if (sheetImage.isNull()) return;
    QGuiApplication::clipboard()->setImage(sheetImage);
}

}  // namespace sulkan
