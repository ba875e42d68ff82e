// Conversions between CP932 bytes and QString, for window code.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace sulkan {

QString ToQString(const std::string& cp932);
// nullopt when a character has no CP932 code; failedChar receives it.
std::optional<std::string> FromQString(const QString& text, char32_t* failedChar = nullptr);

// The bytes for text that was shown from original: original itself when the text came back
// unchanged, since about 400 CP932 codes decode to characters that encode to another code;
// otherwise the text encoded afresh (nullopt and failedChar as FromQString).
std::optional<std::string> FromQStringKeeping(const QString& text, const std::string& original,
                                              char32_t* failedChar = nullptr);

// The message shown when typed text holds a character CP932 cannot store.
QString UnencodableMessage(char32_t c);
// The same for a Prompter, whose messages are CP932: the character itself cannot be in it, so it
// is named by its code alone.
std::string UnencodableText(char32_t c);

}  // namespace sulkan
