#include "SheetPrinting.h"

#include <QClipboard>
#include <QGuiApplication>
#include <algorithm>

#include "QtCanvas.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {
namespace {

constexpr int kFaithfulInset = 6;  // sheet units between the page's left edge and the image
constexpr double kScreenDpi = 96.0;

int Round(double v) {
    return static_cast<int>(RoundHalfEven(v));
}

// Activating a window while jobs run must not copy its values into the controls.
class ActivationFillPause {
public:
    explicit ActivationFillPause(SheetShared& shared)
        : m_shared(shared), m_was(shared.activationFillEnabled) {
        shared.activationFillEnabled = false;
    }
    ~ActivationFillPause() { m_shared.activationFillEnabled = m_was; }
    ActivationFillPause(const ActivationFillPause&) = delete;
    ActivationFillPause& operator=(const ActivationFillPause&) = delete;

private:
    SheetShared& m_shared;
    bool m_was;
};

}  // namespace

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

RenderInputs PrinterInputs(const Worksheet& worksheet, const ScreenView& view,
                           const SheetPictures& pictures, int pageWidth, int pageHeight,
                           int resolution) {
    RenderInputs in = ScreenInputs(worksheet, view, pictures);
    AimAtPrinter(in, worksheet, pageWidth, pageHeight, resolution / kScreenDpi);
    // Page width ÷ 630 fits only A4 sheets to their page: a B4 or A3 sheet would run off its
    // paper and a B5 one shrink. Scaling by the sheet's own width keeps every paper whole.
    in.s = in.r;
    return in;
}

QRect FaithfulPageRect(QSize sheetImage, int pageWidth) {
    if (sheetImage.width() <= 0) return {};
    const double s = static_cast<double>(pageWidth) / sheetImage.width();
    return QRect(Round(kFaithfulInset * s), 0, Round(sheetImage.width() * s),
                 Round(sheetImage.height() * s));
}

bool PrintAtPrinterResolution(PrintTarget& target, Worksheet& worksheet, const ScreenView& view,
                              const SheetPictures& pictures, const std::string& numberText,
                              SheetShared& shared, RenderOutput* output,
                              const std::function<void(RenderInputs&)>& adjust) {
    QPainter* painter = target.beginJob();
    if (!painter) return false;
    RenderInputs in = PrinterInputs(worksheet, view, pictures, target.pageWidth(),
                                    target.pageHeight(), target.resolution());
    in.numberText = numberText;
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
    painter->drawImage(FaithfulPageRect(sheetImage.size(), target.pageWidth()), sheetImage);
    return target.endJob();
}

PrintResult PrintWorksheet(const PrintSource& source, PrintMode mode, PrintNumbering& numbering,
                           PrintTarget& target, SheetShared& shared) {
    PrintResult result;
    if (!source.worksheet) return result;
    ActivationFillPause pause(shared);

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
    for (int copy = 0; copy < copies; ++copy) {
        bool done = false;
        if (mode == PrintMode::Faithful) {
            const QImage image = redrawEach ? source.redrawScreen() : source.screenImage;
            if (image.isNull()) {
                result.messages.push_back(sjis("印刷するシートの画像がありません"));
                result.stopped = true;
                break;
            }
            done = PrintSheetImage(target, image);
        } else {
            // What the printer pass would say the screen pass has said already.
            done = PrintAtPrinterResolution(target, *source.worksheet, source.view, source.pictures,
                                            NumberText(numbered, numbering.startNumber()), shared,
                                            nullptr, source.adjustInputs);
        }
        if (!done) {
            result.messages.push_back(sjis("印刷を完了できませんでした"));
            result.stopped = true;
            break;
        }
        ++result.jobs;
        numbering.setStartNumber(numbering.startNumber() + 1);
    }
    numbering.setStartNumber(1);
    // The screen shows the number the next print starts with.
    if (numbered && source.redrawScreen) source.redrawScreen();
    return result;
}

void CopySheetToClipboard(const QImage& sheetImage) {
    if (sheetImage.isNull()) return;
    QGuiApplication::clipboard()->setImage(sheetImage);
}

}  // namespace sulkan
