#include "FileChecks.h"

#include "LineFile.h"
#include "Sjis.h"

namespace sulkan {

std::string FileMissingText(const std::string& path) {
    return sjis("ファイル ") + path + sjis(" が見つかりません");
}

std::string FolderMissingText(const std::string& path) {
    return sjis("ディレクトリ ") + path + sjis(" が見つかりません");
}

std::string CannotReadText(const std::string& path) {
    return sjis("ファイル ") + path + sjis(" を読み込めません");
}

bool FileCheck(Prompter& prompter, const std::string& path) {
    if (FileExists(path)) return true;
    prompter.message(FileMissingText(path));
    return false;
}

bool FolderCheck(Prompter& prompter, const std::string& path) {
    if (FolderExists(path)) return true;
    prompter.message(FolderMissingText(path));
    return false;
}

}  // namespace sulkan
