#include <gtest/gtest.h>

#include <filesystem>

#include "ContainedPath.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteRawFile;

TEST(ContainedPath, NamesThatLeaveTheirFolderByTheirTextAreRefused) {
    TempDir dir;
    WriteRawFile(dir.path() / "secret.bmp", "BM");
    fs::create_directories(dir.path() / "course" / "Graph");
    const std::string graph = dir.folder() + "course/Graph/";
    const std::string refused[] = {
        "..\\..\\..\\secret.bmp",
        "../secret.bmp",
        "sub\\..\\..\\secret.bmp",
        "...\\secret.bmp",  // Windows drops trailing dots: "..." acts as ".."
        ".. \\secret.bmp",
        "/etc/passwd",
        "\\secret.bmp",
        "\\\\server\\share\\x.bmp",
        "C:\\x.bmp",
        "C:x.bmp",
        "a.bmp:stream",
        "",
        std::string("a\0/../../x", 10),
        // 85 5C is no character, so its 5C is a separator when the path is converted.
        "\x85\\..\\..\\secret.bmp",
    };
    for (const std::string& name : refused) {
        ContainedPath p = PathInside(graph, name);
        EXPECT_FALSE(p) << testing::PrintToString(name);
        EXPECT_NE(p.problem().message.find(name), std::string::npos) << p.problem().message;
        // The reason alone is kept too, and is what the message ends with in brackets.
        ASSERT_FALSE(p.problem().reason.empty());
        EXPECT_NE(p.problem().message.find(sjis("（") + p.problem().reason + sjis("）")),
                  std::string::npos);
    }
    // 表 and ソ end in the byte of "\" without being separators; subfolders stay inside.
    for (const std::string& name : {sjis("表.bmp"), sjis("ソ\\図.bmp"), std::string("sub\\fig.bmp"),
                                    std::string("a..b.bmp")}) {
        ContainedPath p = PathInside(graph, name);
        EXPECT_TRUE(p) << p.problem().message;
        EXPECT_EQ(p.value(), graph + name);
    }
}

TEST(ContainedPath, SymbolicLinksMayNotLeadOut) {
    TempDir dir;
    fs::create_directories(dir.path() / "outside");
    WriteRawFile(dir.path() / "outside" / "evil.ind", "x");
    fs::create_directories(dir.path() / "course" / "kanji1");
    WriteRawFile(dir.path() / "course" / "kanji1" / "k.ind", "x");
    const fs::path course = dir.path() / "course";
    fs::create_directory_symlink(dir.path() / "outside", course / "out");
    fs::create_symlink(dir.path() / "outside" / "evil.ind", course / "kanji1" / "file.ind");
    fs::create_directory_symlink(course / "kanji1", course / "alias");
    fs::create_symlink(course / "nothing", course / "dangling");
    const std::string folder = dir.folder() + "course\\";

    EXPECT_FALSE(PathInside(folder, "out\\evil.ind"));
    EXPECT_FALSE(PathInside(folder, "kanji1\\file.ind"));
    EXPECT_FALSE(PathInside(folder, "dangling"));
    EXPECT_FALSE(PathInside(folder, "out\\new.que"));  // not there yet, but would be written out
    EXPECT_TRUE(PathInside(folder, "alias\\k.ind"));   // a link that stays inside is fine
    EXPECT_TRUE(PathInside(folder, "kanji1\\new.que"));

    // The folder itself may be reached through a link.
    fs::create_directory_symlink(course, dir.path() / "link-to-course");
    EXPECT_TRUE(PathInside(dir.folder() + "link-to-course/", "kanji1\\k.ind"));
    EXPECT_FALSE(PathInside(dir.folder() + "link-to-course/", "out\\evil.ind"));
}

}  // namespace
}  // namespace sulkan
