// Installed fonts.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace sulkan {

// Face names of the installed scalable (TrueType/OpenType) fonts, CP932. With all false, only the
// faces whose name contains "行書" and does not begin with "@". Sorted when asked.
std::vector<std::string> ListFonts(bool sorted, bool all);

// One row of the face table: the names Windows courseware gives a kind of face and the installed
// faces that stand in for it, the closest first.
struct FaceSubstitution {
    QString kind;  // "mincho", "gothic", "semi-cursive", "textbook", "brush", ...
    QStringList courseFaces;
    QStringList installed;
};
const std::vector<FaceSubstitution>& FaceSubstitutions();

// Maps the face names courseware uses ("MS 明朝", "ＭＳ ゴシック", "HG行書体", "HG教科書体", ...)
// to installed faces, by the table above. Call once after the QApplication exists.
void InstallFontSubstitutions();

}  // namespace sulkan
