// The sheet image as the worksheet window shows it: pictures loaded from the course, inputs taken
// from the main window's view, one screen pass onto a fresh image. The export command uses the
// same code, so an exported sheet is the sheet on screen.
#pragma once

#include <QImage>
#include <string>
#include <vector>

#include "Prompter.h"
#include "SheetRenderer.h"
#include "Worksheet.h"

namespace sulkan {

// Loads the pictures named by the worksheet's figure triples from figureFolder, and the class
// flag "classFlag.bmp" from the program folder. A missing figure is reported through prompter
// (when given) and its picture stays empty; a missing class flag is simply not drawn.
SheetPictures LoadSheetPictures(const Worksheet& worksheet, const std::string& programFolder,
                                const std::string& figureFolder, Prompter* prompter);

class WorksheetHost;
// The main window's view as the host reports it now.
ScreenView ViewOf(const WorksheetHost& host);

RenderInputs ScreenInputs(const Worksheet& worksheet, const ScreenView& view,
                          const SheetPictures& pictures);

// base name + section + ".que-U" + unit, as the header shows the source of a sheet.
std::string SourceNameOf(const Worksheet& worksheet);

// Draws the sheet onto a new image of the sheet's size (times scale, for a preview drawn small).
// With a pixel ratio above 1 the image has that many more pixels each way and carries the
// ratio (for a high-density screen); what is drawn and where stays in sheet units.
// While drawing is suppressed the image is null and output->drawn is false.
QImage RenderSheetImage(Worksheet& worksheet, const RenderInputs& inputs, SheetShared& shared,
                        RenderOutput* output = nullptr, double scale = 1, double pixelRatio = 1);

}  // namespace sulkan
