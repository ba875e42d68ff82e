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

void InstallFontSubstitutions() {
    // Both the romanised and the Japanese family names are given: which one the font database
    // knows depends on the locale.
    const QStringList mincho = {u"IPAMincho"_s, u"IPA明朝"_s, u"IPAexMincho"_s, u"IPAex明朝"_s};
    const QStringList gothic = {u"IPAGothic"_s, u"IPAゴシック"_s, u"IPAexGothic"_s,
                                u"IPAexゴシック"_s};
    const QStringList pGothic = {u"IPAPGothic"_s, u"IPA Pゴシック"_s, u"IPAGothic"_s,
                                 u"IPAゴシック"_s};
    const QStringList pMincho = {u"IPAPMincho"_s, u"IPA P明朝"_s, u"IPAMincho"_s, u"IPA明朝"_s};
    const QStringList serif = {u"DejaVu Serif"_s, u"Serif"_s};

    for (const QString& face : {u"MS 明朝"_s, u"ＭＳ 明朝"_s, u"MS Mincho"_s})
        QFont::insertSubstitutions(face, mincho);
    for (const QString& face : {u"ＭＳ ゴシック"_s, u"MS ゴシック"_s, u"MS Gothic"_s})
        QFont::insertSubstitutions(face, gothic);
    for (const QString& face : {u"ＭＳ Ｐゴシック"_s, u"MS Pゴシック"_s, u"MS PGothic"_s})
        QFont::insertSubstitutions(face, pGothic);
    for (const QString& face : {u"ＭＳ Ｐ明朝"_s, u"MS P明朝"_s, u"MS PMincho"_s})
        QFont::insertSubstitutions(face, pMincho);
    QFont::insertSubstitutions(u"Bookman Old Style"_s, serif);
}

}  // namespace sulkan
