#include "SheetFigures.h"

#include <algorithm>

#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

namespace {

constexpr std::size_t kTripleLength = 3;
constexpr int kFlagBandTop = 30;     // the upper rule
constexpr int kFlagBandHeight = 60;  // between the two rules

int FigureCount(const std::vector<std::string>& triples) {
    return static_cast<int>(triples.size() / kTripleLength);
}

const Bitmap* PictureAt(const std::vector<Bitmap>& pictures, int index) {
    if (index < 0 || index >= static_cast<int>(pictures.size()) || !pictures[index]) return nullptr;
    return &pictures[index];
}

void TakePicture(FigurePlace& place, const std::vector<Bitmap>& pictures, int index) {
    place.picture = index;
    const Bitmap* picture = PictureAt(pictures, index);
    place.width = picture ? picture->width : 0;
    place.height = picture ? picture->height : 0;
}

// The figures of one kind to show, reporting a list longer than a sheet can show.
int UsableFigures(const std::vector<std::string>& triples, std::vector<std::string>& messages) {
    const int count = FigureCount(triples);
    if (count > kMaxFigures) messages.push_back(TooManyFiguresMessage(count));
    return std::min(count, kMaxFigures);
}

}  // namespace

std::string TooManyFiguresMessage(int count) {
    static const std::string text = sjis(":問題のグラフが多すぎます");
    return IntText(count) + text + IntText(kMaxFigures);
}

std::string PictureUnreadableMessage(const std::string& path) {
    return sjis("ファイル ") + path + sjis(" を画像として読み込めません");
}

FigurePlacement PlaceFigures(std::vector<std::string>& questionTriples,
                             const std::vector<std::string>& answerTriples,
                             const std::vector<Bitmap>& questionPictures,
                             const std::vector<Bitmap>& answerPictures,
                             const std::vector<SheetPoint>& pieceStarts, SheetPoint fallback,
                             bool answersShown) {
    FigurePlacement out;
    const int questions = UsableFigures(questionTriples, out.messages);
    for (int n = 1; n <= questions; ++n) {
        FigurePlace& place = out.places[n - 1];
        const std::size_t at = (n - 1) * kTripleLength;
        TakePicture(place, questionPictures, n - 1);
        const int left = ReadNumber(questionTriples[at + 1]);
        if (left < 1) {
            // Not placed yet (an added unit writes "-1"): follow the n-th text piece and keep
            // the position, so it is saved with the worksheet.
            const SheetPoint piece =
                n <= static_cast<int>(pieceStarts.size()) ? pieceStarts[n - 1] : fallback;
            place.left = piece.x + kAutoFigureShift;
            place.top = piece.y;
            questionTriples[at + 1] = IntText(place.left);
            questionTriples[at + 2] = IntText(place.top);
            out.wroteBack = true;
        } else {
            place.left = left;
            place.top = ReadNumber(questionTriples[at + 2]);
        }
    }
    if (answersShown) {
        const int answers = UsableFigures(answerTriples, out.messages);
        for (int n = 1; n <= answers; ++n) {
            FigurePlace& place = out.places[n - 1];
            place.answer = true;
            TakePicture(place, answerPictures, n - 1);
        }
    }
    // An answer figure without a question figure of its number has no place to stand in.
    for (int n = 1; n <= kFigurePlaces; ++n) out.places[n - 1].visible = n <= questions;
    return out;
}

FigurePlace ClassFlagPlace(const Bitmap& flag, int leftMargin) {
    FigurePlace place;
    place.left = leftMargin * 10;
    place.top =
        kFlagBandTop + static_cast<int>(RoundHalfEven((kFlagBandHeight - flag.height) / 2.0));
    place.width = flag.width;
    place.height = flag.height;
    place.visible = static_cast<bool>(flag);
    return place;
}

void DrawPlacedPicture(Canvas& canvas, const Bitmap& picture, const FigurePlace& place, double s) {
    if (!place.visible || !picture) return;
    auto scaled = [s](int v) { return static_cast<int>(RoundHalfEven(v * s)); };
    canvas.drawBitmap(picture, scaled(place.left), scaled(place.top),
                      scaled(place.left + place.width), scaled(place.top + place.height));
}

void DrawFigures(Canvas& canvas, const FigurePlacement& placement,
                 const std::vector<Bitmap>& questionPictures,
                 const std::vector<Bitmap>& answerPictures, double s) {
    for (const FigurePlace& place : placement.places) {
        const Bitmap* picture =
            PictureAt(place.answer ? answerPictures : questionPictures, place.picture);
        if (picture) DrawPlacedPicture(canvas, *picture, place, s);
    }
}

}  // namespace sulkan
