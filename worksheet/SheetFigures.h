// Figures on a sheet: where the question and answer pictures go, the automatic placement of
// figures that have no position yet, and their drawing together with the class flag.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "Canvas.h"

namespace sulkan {

inline constexpr int kMaxFigures = 15;       // of each kind on one sheet
inline constexpr int kFigurePlaces = 16;     // the window's figure places; the last stays hidden
inline constexpr int kAutoFigureShift = 40;  // sheet units right of the text piece it follows

// Sheet units.
struct SheetPoint {
    int x = 0, y = 0;
    friend bool operator==(const SheetPoint&, const SheetPoint&) = default;
};

struct FigurePlace {
    int left = 0, top = 0;      // sheet units
    int width = 0, height = 0;  // of its picture (0 when the picture is missing)
    bool visible = false;
    bool answer = false;  // shows an answer picture in a question figure's place
    int picture = -1;     // index into the pictures of its kind: figure n is n - 1
};

struct FigurePlacement {
    std::array<FigurePlace, kFigurePlaces> places{};
    std::vector<std::string> messages;  // CP932
    bool wroteBack = false;             // a position was written into a question triple
};

// count + ":問題のグラフが多すぎます" + "15", CP932.
std::string TooManyFiguresMessage(int count);

// "ファイル " + path + " を画像として読み込めません": the file is there but holds no picture.
std::string PictureUnreadableMessage(const std::string& path);

// Places question figures 1..min(15, triples) and, while answers are shown, answer figure n in
// the place of question figure n. A question figure whose left is below 1 goes 40 units right of
// pieceStarts[n - 1] (the n-th text piece of the pass; fallback when there is none) and its
// position is written back into its triple. Pictures: index n - 1 for figure n.
FigurePlacement PlaceFigures(std::vector<std::string>& questionTriples,
                             const std::vector<std::string>& answerTriples,
                             const std::vector<Bitmap>& questionPictures,
                             const std::vector<Bitmap>& answerPictures,
                             const std::vector<SheetPoint>& pieceStarts, SheetPoint fallback,
                             bool answersShown);

// Where the class flag stands, sheet units: at the left margin, centred between the two rules.
FigurePlace ClassFlagPlace(const Bitmap& flag, int leftMargin);

// Draws picture stretched over place scaled by s; nothing when the place is hidden or the picture
// is missing.
void DrawPlacedPicture(Canvas& canvas, const Bitmap& picture, const FigurePlace& place, double s);

// Draws every visible figure place with its picture.
void DrawFigures(Canvas& canvas, const FigurePlacement& placement,
                 const std::vector<Bitmap>& questionPictures,
                 const std::vector<Bitmap>& answerPictures, double s);

}  // namespace sulkan
