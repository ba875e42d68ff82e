#include "SheetImage.h"

#include "ContainedPath.h"
#include "FileChecks.h"
#include "LineFile.h"
#include "QtCanvas.h"
#include "SheetFigures.h"
#include "Sjis.h"
#include "WorksheetHost.h"

namespace sulkan {
namespace {

// A figure name comes from the unit or copy file: only a picture inside the figure folder is
// read. Paths in messages use the system's separators.
Bitmap LoadFigure(const std::string& folder, const std::string& name, std::string& problem) {
    if (folder.empty()) {
        problem = FileMissingText(NativeSeparators(name));
        return {};
    }
    const ContainedPath file = PathInside(folder, name);
    if (!file) {
        problem = file.problem().message;
        return {};
    }
    if (!FileExists(file.value())) {
        problem = FileMissingText(NativeSeparators(file.value()));
        return {};
    }
    Bitmap picture = LoadBitmap(file.value());
    if (!picture) problem = PictureUnreadableMessage(NativeSeparators(file.value()));
    return picture;
}

std::vector<Bitmap> LoadFigures(const std::vector<std::string>& triples, const std::string& folder,
                                Prompter* prompter) {
    std::vector<Bitmap> pictures;
    for (std::size_t i = 0; i < triples.size(); i += 3) {
        std::string problem;
        pictures.push_back(LoadFigure(folder, triples[i], problem));
        if (!problem.empty() && prompter) prompter->message(problem);
    }
    return pictures;
}

}  // namespace

SheetPictures LoadSheetPictures(const Worksheet& worksheet, const std::string& programFolder,
                                const std::string& figureFolder, Prompter* prompter) {
    SheetPictures p;
    std::string flag = programFolder + "classFlag.bmp";
    if (FileExists(flag)) p.classFlag = LoadBitmap(flag);
    p.question = LoadFigures(worksheet.content.questionFigures, figureFolder, prompter);
    p.answer = LoadFigures(worksheet.content.answerFigures, figureFolder, prompter);
    return p;
}

std::string SourceNameOf(const Worksheet& worksheet) {
    // The file name of the question file without its folder, then "-U" and the unit.
    std::string file = worksheet.filePath;
    std::size_t cut = FindLastWholeChar(file, '\\');
    std::size_t slash = file.rfind('/');
    if (cut == std::string::npos || (slash != std::string::npos && slash > cut)) cut = slash;
    if (cut != std::string::npos) file = file.substr(cut + 1);
    if (worksheet.isCopy) return file;
    return file + "-U" + std::to_string(worksheet.address.unit) +
           (worksheet.address.similar
                ? std::string("R").append(std::to_string(worksheet.address.similar))
                : "");
}

ScreenView ViewOf(const WorksheetHost& host) {
    ScreenView view;
    view.answersShown = host.answerDisplay();
    view.showAlternatives = host.showAlternatives();
    view.largerAnswers = host.largerAnswers();
    view.questionSize = host.questionSize();
    view.mainFontName = host.mainFontName();
    view.schoolName = host.schoolName();
    view.learnerName = host.learnerName();
    return view;
}

RenderInputs ScreenInputs(const Worksheet& worksheet, const ScreenView& view,
                          const SheetPictures& pictures) {
    RenderInputs in;
    in.target = ScreenTarget(worksheet);
    in.view = view;
    in.pictures = pictures;
    in.stamp.now = Now();
    in.stamp.sourceName = SourceNameOf(worksheet);
    return in;
}

QImage RenderSheetImage(Worksheet& worksheet, const RenderInputs& inputs, SheetShared& shared,
                        RenderOutput* output, double scale, double pixelRatio) {
    if (!shared.redrawEnabled) {
        if (output) *output = RenderOutput{};
        return {};
    }
    ImageCanvas canvas(inputs.target.pageWidth, inputs.target.pageHeight, scale, pixelRatio);
    RenderOutput out = RenderSheet(worksheet, canvas, inputs, shared);
    if (output) *output = std::move(out);
    return canvas.takeImage();
}

}  // namespace sulkan
