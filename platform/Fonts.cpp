#include "Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>
#include <algorithm>

#include "QtText.h"

using namespace Qt::Literals::StringLiterals;

namespace sulkan {
namespace {

// Family names are localised ("衡山毛筆フォント行書" under a Japanese locale, its romanised name
// otherwise), so a running-script face is also recognised by the romanised forms of 行書.
bool IsGyoshoFace(const QString& family) {
    static const QStringList marks = {u"行書"_s, u"Gyousyo"_s, u"Gyosho"_s, u"Gyousho"_s,
                                      u"Gyosyo"_s};
    return std::any_of(marks.begin(), marks.end(), [&](const QString& mark) {
        return family.contains(mark, Qt::CaseInsensitive);
    });
}

}  // namespace

std::vector<std::string> ListFonts(bool sorted, bool all) {
    std::vector<std::string> names;
    for (const QString& family : QFontDatabase::families()) {
        // "TrueType" here means an outline font that scales smoothly (TrueType, OpenType, Type 1);
        // bitmap faces cannot be drawn at the sizes sheets need.
        if (!QFontDatabase::isSmoothlyScalable(family)) continue;
        // "@" marks the vertical variant of a face.
        if (!all && (family.startsWith(u'@') || !IsGyoshoFace(family))) continue;
        // A name CP932 cannot hold could not be stored in a worksheet either.
        if (auto name = FromQString(family)) names.push_back(std::move(*name));
    }
    if (sorted) std::sort(names.begin(), names.end());
    return names;
}

const std::vector<FaceSubstitution>& FaceSubstitutions() {
    // Both the romanised and the Japanese family names of an installed face are given: which one
    // the font database knows depends on the locale. Windows courses name their faces in
    // half-width or full-width letters and in Japanese or romanised form.
    static const std::vector<FaceSubstitution> table = {
        {u"mincho"_s,
         {u"MS 明朝"_s, u"ＭＳ 明朝"_s, u"MS Mincho"_s},
         {u"IPAMincho"_s, u"IPA明朝"_s, u"IPAexMincho"_s, u"IPAex明朝"_s}},
        {u"gothic"_s,
         {u"ＭＳ ゴシック"_s, u"MS ゴシック"_s, u"MS Gothic"_s},
         {u"IPAGothic"_s, u"IPAゴシック"_s, u"IPAexGothic"_s, u"IPAexゴシック"_s}},
        {u"proportional gothic"_s,
         {u"ＭＳ Ｐゴシック"_s, u"MS Pゴシック"_s, u"MS PGothic"_s},
         {u"IPAPGothic"_s, u"IPA Pゴシック"_s, u"IPAGothic"_s, u"IPAゴシック"_s}},
        {u"proportional mincho"_s,
         {u"ＭＳ Ｐ明朝"_s, u"MS P明朝"_s, u"MS PMincho"_s},
         {u"IPAPMincho"_s, u"IPA P明朝"_s, u"IPAMincho"_s, u"IPA明朝"_s}},
        {u"serif"_s, {u"Bookman Old Style"_s}, {u"DejaVu Serif"_s, u"Serif"_s}},
        // The semi-cursive answer face: the brush face's semi-cursive cut.
        {u"semi-cursive"_s,
         {u"HG行書体"_s, u"HGP行書体"_s, u"HGS行書体"_s, u"ＨＧ行書体"_s, u"ＨＧＰ行書体"_s,
          u"ＨＧＳ行書体"_s, u"HGGyoshotai"_s, u"HGPGyoshotai"_s, u"HGSGyoshotai"_s},
         {u"KouzanBrushFontGyousyo"_s, u"衡山毛筆フォント行書"_s}},
        // Textbook faces write characters as a pupil learns to: the pen-written regular script
        // of Klee One, else a mincho.
        {u"textbook"_s,
         {u"HG教科書体"_s,
          u"HGP教科書体"_s,
          u"HGS教科書体"_s,
          u"ＨＧ教科書体"_s,
          u"ＨＧＰ教科書体"_s,
          u"ＨＧＳ教科書体"_s,
          u"HGKyokashotai"_s,
          u"HGPKyokashotai"_s,
          u"HGSKyokashotai"_s,
          u"UD デジタル 教科書体 N-R"_s,
          u"UD デジタル 教科書体 NP-R"_s,
          u"UD デジタル 教科書体 NK-R"_s,
          u"UD デジタル 教科書体 N-B"_s,
          u"UD デジタル 教科書体 NP-B"_s,
          u"UD デジタル 教科書体 NK-B"_s,
          u"UD Digi Kyokasho N-R"_s,
          u"UD Digi Kyokasho NP-R"_s,
          u"UD Digi Kyokasho NK-R"_s,
          u"UD Digi Kyokasho N-B"_s,
          u"UD Digi Kyokasho NP-B"_s,
          u"UD Digi Kyokasho NK-B"_s},
         {u"Klee One"_s, u"クレー One"_s, u"IPAexMincho"_s, u"IPAex明朝"_s}},
        // Brush regular script.
        {u"brush"_s,
         {u"HG正楷書体-PRO"_s, u"ＨＧ正楷書体-PRO"_s, u"ＨＧ正楷書体－ＰＲＯ"_s,
          u"HGSeikaishotaiPRO"_s, u"HG正楷書体"_s, u"ＨＧ正楷書体"_s},
         {u"KouzanBrushFont"_s, u"衡山毛筆フォント"_s}},
    };
    return table;
}

void InstallFontSubstitutions() {
    for (const FaceSubstitution& row : FaceSubstitutions())
        for (const QString& face : row.courseFaces) QFont::insertSubstitutions(face, row.installed);
}

}  // namespace sulkan
