#include "QtText.h"

#include "Codec.h"

using namespace Qt::Literals::StringLiterals;

namespace sulkan {

QString ToQString(const std::string& cp932) {
    std::u16string text = Cp932ToUtf16(cp932);
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

std::optional<std::string> FromQString(const QString& text, char32_t* failedChar) {
    std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()),
                             static_cast<std::size_t>(text.size()));
    return Utf16ToCp932(view, failedChar);
}

std::optional<std::string> FromQStringKeeping(const QString& text, const std::string& original,
                                              char32_t* failedChar) {
    if (text == ToQString(original)) return original;
    return FromQString(text, failedChar);
}

QString UnencodableMessage(char32_t c) {
    const bool drawable = c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    QString shown = drawable ? QString::fromUcs4(&c, 1) : QString(QChar::ReplacementCharacter);
    // The code is given too: the character may be invisible or look like another one.
    QString code = QString::number(static_cast<uint>(c), 16).toUpper().rightJustified(4, u'0');
    return u"「%1」（U+%2）はこのプログラムのファイルに保存できない文字です"_s.arg(shown, code);
}

std::string UnencodableText(char32_t c) {
    const QString code =
        QString::number(static_cast<uint>(c), 16).toUpper().rightJustified(4, u'0');
    return *FromQString(u"U+%1 の文字はこのプログラムのファイルに保存できません"_s.arg(code));
}

}  // namespace sulkan
