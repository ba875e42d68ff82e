// Installed fonts.
#pragma once

#include <string>
#include <vector>

namespace sulkan {

// Face names of the installed scalable (TrueType/OpenType) fonts, CP932. With all false, only the
// faces whose name contains "行書" and does not begin with "@". Sorted when asked.
std::vector<std::string> ListFonts(bool sorted, bool all);

// Maps the face names courseware uses ("MS 明朝", "ＭＳ ゴシック", ...) to installed faces. Call
// once after the QApplication exists.
void InstallFontSubstitutions();

}  // namespace sulkan
