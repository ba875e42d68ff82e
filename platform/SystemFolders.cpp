#include "SystemFolders.h"

#include <QDir>
#include <QStandardPaths>

#include "LineFile.h"
#include "QtText.h"
#include "Sjis.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/vfs.h>
#endif

namespace sulkan {
namespace {

std::string DataFolder() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QString folder = QDir(base).filePath(QStringLiteral("Sulkan++"));
    QDir().mkpath(folder);
    return WithTrailingSeparator(FromQString(QDir::toNativeSeparators(folder)).value_or("./"));
}

}  // namespace

std::string WithTrailingSeparator(const std::string& folder) {
    if (folder.empty()) return folder;
    // A folder ending in 表 ends in the byte of "\" without ending in a separator.
    const std::size_t lastBackslash = FindLastWholeChar(folder, '\\');
    if (folder.back() == '/' || lastBackslash == folder.size() - 1) return folder;
    bool backslashes = lastBackslash != std::string::npos && folder.find('/') == std::string::npos;
    return folder + (backslashes ? '\\' : '/');
}

std::optional<std::string> WorkingFolder() {
    auto folder = FromQString(QDir::toNativeSeparators(QDir::currentPath()));
    if (!folder) return std::nullopt;
    return WithTrailingSeparator(*folder);
}

std::string SystemFolder() {
#ifdef _WIN32
    wchar_t buf[MAX_PATH];
    UINT n = GetWindowsDirectoryW(buf, MAX_PATH);
    auto folder = FromQString(QString::fromWCharArray(buf, static_cast<int>(n)));
    return WithTrailingSeparator(folder.value_or("C:\\Windows"));
#else
    return DataFolder();
#endif
}

std::string DefaultRecordsRoot() {
#ifdef _WIN32
    return "C:\\";
#else
    return DataFolder();
#endif
}

bool IsOnOpticalDisc(const std::string& folder) {
#ifdef _WIN32
    QString root = ToQString(folder).left(3);
    return GetDriveTypeW(reinterpret_cast<LPCWSTR>(root.utf16())) == DRIVE_CDROM;
#else
    constexpr long kIso9660Magic = 0x9660;
    constexpr long kUdfMagic = 0x15013346;
    struct statfs info {};
    if (statfs(NativePath(folder).c_str(), &info) != 0) return false;
    long type = static_cast<long>(info.f_type);
    return type == kIso9660Magic || type == kUdfMagic;
#endif
}

}  // namespace sulkan
