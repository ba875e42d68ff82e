#include "ContainedPath.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "Codec.h"
#include "LineFile.h"
#include "Sjis.h"

namespace sulkan {
namespace fs = std::filesystem;

namespace {

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

// Windows drops trailing dots and blanks from a name, so "..." and ".. " act as "..".
bool ActsAsParent(std::u16string_view part) {
    return part.size() >= 2 &&
           std::all_of(part.begin(), part.end(), [](char16_t c) { return c == u'.' || c == u' '; });
}

std::vector<std::u16string_view> Components(std::u16string_view text) {
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || IsSeparator(text[i])) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

fs::path WithoutTrailingSeparator(fs::path p) {
    while (!p.empty() && p.filename().empty() && p.has_relative_path()) p = p.parent_path();
    return p;
}

bool IsWithin(const fs::path& p, const fs::path& base) {
    auto [b, q] = std::mismatch(base.begin(), base.end(), p.begin(), p.end());
    (void)q;
    return b == base.end();
}

// Follows every link on the way from folder to folder/rel; fails with the reason alone when the
// way leads out.
Result<> LinkFault(const fs::path& folder, const fs::path& rel) {
    std::error_code ec;
    fs::path base = fs::weakly_canonical(folder, ec);
    if (ec) base = folder.lexically_normal();
    base = WithoutTrailingSeparator(base);
    fs::path current = base;
    for (const fs::path& part : rel) {
        if (part.empty() || part == ".") continue;
        current /= part;
        const fs::file_status status = fs::symlink_status(current, ec);
        if (ec || !fs::exists(status)) return {};  // nothing below can exist either
        if (!fs::is_symlink(status)) continue;
        fs::path target = fs::canonical(current, ec);
        if (ec) return Problem(sjis("リンク先がありません"));
        if (!IsWithin(target, base)) return Problem(sjis("フォルダの外へのリンクです"));
        current = std::move(target);
    }
    return {};
}

}  // namespace

Result<> NameFault(std::string_view name, NameShape shape) {
    if (name.empty()) return Problem{sjis("名前が空です")};
    if (name.find('\0') != std::string_view::npos)
        return Problem{sjis("使えない文字が含まれています")};
    const std::u16string text = Cp932ToUtf16(name);
    if (IsSeparator(text.front())) return Problem{sjis("フォルダの区切りで始まっています")};
    if (text.find(u':') != std::u16string::npos)
        return Problem{sjis("ドライブ名または「:」があります")};
    const auto parts = Components(text);
    if (shape == NameShape::FileName) {
        if (parts.size() > 1) return Problem{sjis("フォルダの区切り「\\」または「/」があります")};
        if (text == u".") return Problem{sjis("ファイル名ではありません")};
    }
    for (std::u16string_view part : parts)
        if (ActsAsParent(part)) return Problem{sjis("「..」があります")};
    return {};
}

std::string NameRefusedText(const std::string& name, const std::string& folder,
                            const std::string& reason) {
    return sjis("「") + name + sjis("」はフォルダ ") + NativeSeparators(folder) +
           sjis(" の中の名前として使えません（") + reason + sjis("）");
}

SplitPath SplitNativePath(const std::string& path) {
#ifdef _WIN32
    std::size_t cut = FindLastWholeChar(path, '\\');
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && (cut == std::string::npos || slash > cut)) cut = slash;
#else
    const std::size_t cut = path.rfind('/');  // never a trail byte: those start at 0x40
#endif
    if (cut == std::string::npos) return {{}, path};
    return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

ContainedPath PathInside(const std::string& folder, const std::string& name, NameShape shape) {
    std::string fault = NameFault(name, shape).problem().message;
    if (fault.empty()) {
        const fs::path root = WithoutTrailingSeparator(NativePath(folder));
        const fs::path full = NativePath(folder + name);
        const fs::path rel = full.lexically_relative(root);
        if (rel.empty() || *rel.begin() == "..")
            fault = sjis("フォルダの外です");
        else
            fault = LinkFault(root, rel).problem().message;
    }
    if (!fault.empty()) return Problem(NameRefusedText(name, folder, fault), fault);
    return folder + name;
}

}  // namespace sulkan
