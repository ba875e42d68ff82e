// Conversions between CP932 bytes and QString, for window code.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace sulkan {

QString ToQString(const std::string& cp932);
// nullopt when a character has no CP932 code; failedChar receives it.
std::optional<std::string> FromQString(const QString& text, char32_t* failedChar = nullptr);

// The message shown when typed text holds a character CP932 cannot store.
QString UnencodableMessage(char32_t c);

}  // namespace sulkan
