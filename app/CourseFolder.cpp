#include "CourseFolder.h"

#include <exception>
#include <filesystem>
#include <string>
#include <system_error>

#include "Codec.h"
#include "CourseTree.h"
#include "FileChecks.h"
#include "LineFile.h"
#include "Processes.h"
#include "Sjis.h"
#include "SystemFolders.h"

namespace sulkan {
namespace fs = std::filesystem;
namespace {

bool HoldsCourse(const std::string& folder) {
    return !folder.empty() && FileExists(CourseIndexPath(folder));
}

fs::path FolderPath(const std::string& folder) {
    fs::path path = NativePath(folder).lexically_normal();
    // "a/b/" names the folder "a/b".
    while (path.filename().empty() && path.has_relative_path()) path = path.parent_path();
    return path;
}

bool SameFolder(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    std::error_code ec;
    if (fs::equivalent(FolderPath(a), FolderPath(b), ec)) return true;
    return FolderPath(a) == FolderPath(b);
}

std::string ReasonOf(const std::error_code& ec) {
    const std::error_condition condition = ec.default_error_condition();
    return condition.category() == std::generic_category() ? SystemErrorText(condition.value())
                                                           : std::string();
}

// Copies that were under way when their program was killed.
void RemoveAbandonedCopies(const fs::path& parent, const std::string& prefix) {
    std::error_code ec;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        int pid = 0;
        try {
            pid = std::stoi(name.substr(prefix.size()));
        } catch (const std::exception&) {
            continue;
        }
        std::error_code removeError;
        if (ProcessGone(pid)) fs::remove_all(it->path(), removeError);
    }
}

// Folders are made anew rather than copied with their modes: installed data is read-only, and
// the program writes records and edits into its course. Links are followed, so the copy holds
// plain files; the depth bounds a link that loops.
void CopyTree(const fs::path& from, const fs::path& to, int depth, std::error_code& ec) {
    constexpr int kMaxDepth = 32;
    if (depth > kMaxDepth) {
        ec = std::make_error_code(std::errc::too_many_symbolic_link_levels);
        return;
    }
    fs::create_directory(to, ec);
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path target = to / it->path().filename();
        if (it->is_directory(ec)) {
            CopyTree(it->path(), target, depth + 1, ec);
        } else if (!ec && it->is_regular_file(ec)) {
            fs::copy_file(it->path(), target, ec);
            if (!ec)
                fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write,
                                fs::perm_options::add, ec);
        }
        if (ec) return;
    }
}

}  // namespace

Result<> CopyCourseFolder(const std::string& from, const std::string& to) {
    const fs::path source = FolderPath(from);
    const fs::path target = FolderPath(to);
    const fs::path parent = target.parent_path();
    auto failed = [&](const std::error_code& ec) {
        std::string text = sjis("コース ") + from + sjis(" を ") + to + sjis(" にコピーできません");
        std::string reason = ReasonOf(ec);
        if (!reason.empty()) text += sjis("（") + reason + sjis("）");
        return Result<>(Problem(std::move(text), std::move(reason)));
    };

    std::error_code ec;
    fs::create_directories(parent, ec);
    if (ec) return failed(ec);
    const std::string prefix = ".~sulkan-copy-" + target.filename().string() + "-";
    RemoveAbandonedCopies(parent, prefix);
    const fs::path temp = parent / (prefix + std::to_string(OwnProcessId()));
    fs::remove_all(temp, ec);

    CopyTree(source, temp, 0, ec);
    // Replaces an empty folder; one with files in it is never overwritten.
    if (!ec) fs::rename(temp, target, ec);
    if (ec) {
        std::error_code cleanup;
        fs::remove_all(temp, cleanup);
        return failed(ec);
    }
    return {};
}

std::optional<std::string> FindCourseFolder(const CourseFolderPlaces& places, Prompter& prompter,
                                            const ChooseFolderFunction& chooseFolder) {
    if (HoldsCourse(places.working)) return places.working;

    std::string lookedIn = places.working;
    std::string said;  // what the user is told before the folder dialog
    if (!places.named) {
        // A remembered copy of the sample that has gone is made again, like a first run.
        const bool rememberedOwn =
            !places.remembered.empty() && !SameFolder(places.remembered, places.userSample);
        if (rememberedOwn) {
            if (HoldsCourse(places.remembered)) return places.remembered;
            // The course may lie on a stick not plugged in: say so rather than open another.
            lookedIn = places.remembered;
        } else if (HoldsCourse(places.userSample)) {
            return places.userSample;
        } else if (HoldsCourse(places.installedSample)) {
            const Result<> copied = CopyCourseFolder(places.installedSample, places.userSample);
            if (copied && HoldsCourse(places.userSample)) return places.userSample;
            said = copied.problem().message;  // nothing when the copy was made
        }
    }
    if (said.empty()) said = FileMissingText(CourseIndexPath(lookedIn));

    std::string initial = FolderExists(lookedIn) ? lookedIn : places.working;
    for (;;) {
        prompter.message(said);
        const std::optional<std::string> chosen = chooseFolder(initial);
        if (!chosen) return std::nullopt;
        const std::string folder = WithTrailingSeparator(*chosen);
        if (HoldsCourse(folder)) return folder;
        said = FileMissingText(CourseIndexPath(folder));
        initial = folder;
    }
}

std::optional<std::string> CommandCourseFolder(const std::string& givenUtf8) {
    if (givenUtf8.empty()) return WorkingFolder();
    if (auto converted = Utf8ToCp932(givenUtf8)) return WithTrailingSeparator(*converted);
    return std::nullopt;
}

}  // namespace sulkan
