// The shared existence checks: report a missing file or folder to the user and say so.
#pragma once

#include <string>

#include "Prompter.h"

namespace sulkan {

// "ファイル " + path + " が見つかりません"
std::string FileMissingText(const std::string& path);
// "ディレクトリ " + path + " が見つかりません"
std::string FolderMissingText(const std::string& path);
// "ファイル " + path + " を読み込めません": it is there, but cannot be read.
std::string CannotReadText(const std::string& path);

bool FileCheck(Prompter& prompter, const std::string& path);
bool FolderCheck(Prompter& prompter, const std::string& path);

inline Answer ConfirmYesNo(Prompter& prompter, const std::string& text) {
    return prompter.yesNo(text);
}
inline Answer ConfirmYesNoCancel(Prompter& prompter, const std::string& text) {
    return prompter.yesNoCancel(text);
}

}  // namespace sulkan
