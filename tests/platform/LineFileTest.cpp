#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

#include "LineFile.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using test::ReadRawFile;
using test::TempDir;
using test::WriteRawFile;

// Names of everything in a folder, to see that no temporary file is left behind.
std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Makes beforeRename throw for as long as it lives.
struct ThrowBeforeRename {
    std::function<void()> hook = [] { throw std::runtime_error("killed before rename"); };
    ThrowBeforeRename() { testing_hooks::beforeRename = &hook; }
    ~ThrowBeforeRename() { testing_hooks::beforeRename = nullptr; }
};

TEST(LineFile, SplitLinesAtEveryKindOfLineEnd) {
    EXPECT_EQ(SplitLines(""), Lines{});
    EXPECT_EQ(SplitLines("a"), Lines{"a"});
    EXPECT_EQ(SplitLines("a\r\n"), Lines{"a"});
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("\r\n\r\n"), (Lines{"", ""}));
    EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));  // LF CR is two line ends
    EXPECT_EQ(SplitLines("a\r"), Lines{"a"});
    EXPECT_EQ(JoinLines({}), "");
    EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

TEST(LineFile, ReadingAndWritingBackGivesIdenticalBytes) {
    TempDir dir;
    // Trail bytes 0x5C, NEC/IBM duplicates, bytes that are no CP932 at all, empty lines.
    const std::string bytes = sjis("表ソ\\能") + "\r\n\r\n\xED\x40\x87\x90\xFA\x5C\r\n" +
                              "\x80\xA0\xFF\x85\x40" + std::string("\x00\x1A", 2) + "\r\n" +
                              sjis("最後の行") + "\x81\r\n";
    WriteRawFile(dir.path() / "unit.que", bytes);
    const std::string path = dir.folder() + "unit.que";

    auto lines = ReadLines(path);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->size(), 5u);
    EXPECT_EQ((*lines)[2], "\xED\x40\x87\x90\xFA\x5C");
    ASSERT_TRUE(WriteLines(path, *lines));
    EXPECT_EQ(ReadRawFile(dir.path() / "unit.que"), bytes);
    EXPECT_EQ(ReadBytes(path), bytes);
    EXPECT_EQ(Entries(dir.path()), Lines{"unit.que"});
}

TEST(LineFile, ReadingWhatIsNotThere) {
    TempDir dir;
    EXPECT_FALSE(ReadLines(dir.folder() + "missing.txt").has_value());
    EXPECT_FALSE(ReadBytes(dir.folder()).has_value());  // a folder is no file
    WriteRawFile(dir.path() / "empty.txt", "");
    auto lines = ReadLines(dir.folder() + "empty.txt");
    ASSERT_TRUE(lines.has_value());
    EXPECT_TRUE(lines->empty());
}

TEST(LineFile, WriteCreatesAndReplacesWholeFiles) {
    TempDir dir;
    const std::string path = dir.folder() + "new.txt";
    ASSERT_TRUE(WriteLines(path, {sjis("一行目"), "two"}));
    EXPECT_EQ(ReadRawFile(dir.path() / "new.txt"), sjis("一行目") + "\r\ntwo\r\n");
    ASSERT_TRUE(WriteBytes(path, "short"));
    EXPECT_EQ(ReadRawFile(dir.path() / "new.txt"), "short");
    ASSERT_TRUE(WriteLines(path, {}));
    EXPECT_EQ(ReadRawFile(dir.path() / "new.txt"), "");
    EXPECT_EQ(Entries(dir.path()), Lines{"new.txt"});
}

TEST(LineFile, ReplacingKeepsPermissionBits) {
    TempDir dir;
    WriteRawFile(dir.path() / "f.txt", "old");
    ::chmod((dir.path() / "f.txt").c_str(), 0640);
    ASSERT_TRUE(WriteBytes(dir.folder() + "f.txt", "new"));
    struct stat st {};
    ASSERT_EQ(::stat((dir.path() / "f.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(LineFile, FailedSaveNamesTheFileAndLeavesNothingBehind) {
    TempDir dir;
    const std::string missingFolder = dir.folder() + "nowhere\\x.txt";
    Result<> result = WriteLines(missingFolder, {"a"});
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(static_cast<bool>(result));
    EXPECT_EQ(result.problem().message,
              sjis("ファイル ") + missingFolder +
                  sjis(" を保存できませんでした（フォルダがありません）"));

    fs::create_directory(dir.path() / "sub");
    WriteRawFile(dir.path() / "sub" / "keep.txt", "x");
    result = WriteBytes(dir.folder() + "sub", "would replace a folder");
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.problem().message.find(sjis("同じ名前のフォルダがあります")),
              std::string::npos);
    EXPECT_EQ(ReadRawFile(dir.path() / "sub" / "keep.txt"), "x");
    EXPECT_EQ(Entries(dir.path()), Lines{"sub"});
}

TEST(LineFile, InterruptedSaveLeavesTheOldFileIntact) {
    TempDir dir;
    WriteRawFile(dir.path() / "Main.ind", "old contents\r\n");
    {
        ThrowBeforeRename hook;
        EXPECT_THROW(WriteLines(dir.folder() + "Main.ind", {"new", "contents"}),
                     std::runtime_error);
    }
    EXPECT_EQ(ReadRawFile(dir.path() / "Main.ind"), "old contents\r\n");
    EXPECT_EQ(Entries(dir.path()), Lines{"Main.ind"});
    // And the next save works normally.
    ASSERT_TRUE(WriteLines(dir.folder() + "Main.ind", {"new"}));
    EXPECT_EQ(ReadRawFile(dir.path() / "Main.ind"), "new\r\n");
}

TEST(LineFile, SaveIntoReadOnlyPlacesFails) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    TempDir dir;
    fs::create_directory(dir.path() / "ro");
    WriteRawFile(dir.path() / "ro" / "a.txt", "old");
    ::chmod((dir.path() / "ro").c_str(), 0555);
    Result<> result = WriteBytes(dir.folder() + "ro\\a.txt", "new");
    ::chmod((dir.path() / "ro").c_str(), 0755);
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.problem().message.find(dir.folder() + "ro\\a.txt"), std::string::npos);
    EXPECT_EQ(ReadRawFile(dir.path() / "ro" / "a.txt"), "old");

    WriteRawFile(dir.path() / "locked.txt", "old");
    ::chmod((dir.path() / "locked.txt").c_str(), 0444);
    EXPECT_FALSE(WriteBytes(dir.folder() + "locked.txt", "new").ok());
    EXPECT_EQ(ReadRawFile(dir.path() / "locked.txt"), "old");
}

TEST(LineFile, TheSystemsReasonInJapaneseWords) {
    EXPECT_EQ(SystemErrorText(ENOSPC), sjis("空き容量がありません"));
    EXPECT_EQ(SystemErrorText(EACCES), sjis("書き込みが許可されていません"));
    EXPECT_EQ(SystemErrorText(EROFS), sjis("読み取り専用のファイルシステムです"));
    // Without Japanese words of its own, the system's text (never empty).
    EXPECT_FALSE(SystemErrorText(EXDEV).empty());
    EXPECT_NE(SystemErrorText(EXDEV), SystemErrorText(ENOSPC));
}

TEST(LineFile, ASaveRemovesTheLeftoversOfKilledSaves) {
    TempDir dir;
    const fs::path f = dir.path();
    auto make = [&f](const std::string& name, std::chrono::hours age) {
        WriteRawFile(f / name, std::string(1000, 'x'));
        fs::last_write_time(f / name, fs::file_time_type::clock::now() - age);
    };
    const std::string ours = ".~sulkan-" + std::to_string(::getpid()) + "-0000abcd.tmp";
    make(".~sulkan-99999999-1234abcd.tmp", std::chrono::hours(0));  // no such process
    make(".~sulkan-1-0badf00d.tmp", std::chrono::hours(0));         // a live process, now
    make(".~sulkan-1-feedf00d.tmp", std::chrono::hours(3));         // ... or killed long ago
    make(".~sulkan-0123abcd.tmp", std::chrono::hours(0));           // older form, young
    make(".~sulkan-4567abcd.tmp", std::chrono::hours(3));           // older form, old
    make(ours, std::chrono::hours(0));
    for (const char* other : {"other.tmp", ".~sulkan-notes.tmp", ".~sulkan-1-xyz.tmp", "a.que"})
        make(other, std::chrono::hours(5));

    ASSERT_TRUE(WriteLines(dir.folder() + "unit.que", {"new"}));
    Lines kept{".~sulkan-0123abcd.tmp",
               ".~sulkan-1-0badf00d.tmp",
               ".~sulkan-1-xyz.tmp",
               ours,
               ".~sulkan-notes.tmp",
               "a.que",
               "other.tmp",
               "unit.que"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Entries(f), kept);
}

TEST(LineFile, WindowsPathsFindFilesIgnoringAsciiCase) {
    TempDir dir;
    WriteRawFile(dir.path() / "lesson1" / "graph" / "fig1.bmp", "BM");
    WriteRawFile(dir.path() / "Title.bmp", "BM");
    const std::string root = dir.folder();

    EXPECT_TRUE(FileExists(root + "Lesson1\\Graph\\FIG1.BMP"));
    EXPECT_TRUE(FileExists(root + "TITLE.BMP"));
    EXPECT_TRUE(FolderExists(root + "LESSON1\\Graph\\"));
    EXPECT_TRUE(FolderExists(root + "LESSON1\\Graph"));
    EXPECT_FALSE(FileExists(root + "LESSON1\\Graph"));
    EXPECT_FALSE(FolderExists(root + "Title.BMP"));
    EXPECT_FALSE(FileExists(root + "Lesson1\\Graph\\fig2.bmp"));
    EXPECT_FALSE(FileExists(root + "Lesson2\\Graph\\fig1.bmp"));
    EXPECT_EQ(NativePath(root + "Lesson1\\Graph\\FIG1.BMP"),
              dir.path() / "lesson1" / "graph" / "fig1.bmp");
    EXPECT_EQ(ReadBytes(root + "lesson1\\GRAPH\\Fig1.Bmp"), "BM");

    // Saving under another spelling replaces the file instead of adding a second one.
    ASSERT_TRUE(WriteBytes(root + "TITLE.BMP", "new"));
    EXPECT_EQ(ReadRawFile(dir.path() / "Title.bmp"), "new");
    EXPECT_FALSE(fs::exists(dir.path() / "TITLE.BMP"));
}

TEST(LineFile, KanjiWithBackslashTrailByteAreNotSeparators) {
    TempDir dir;
    // "表" and "ソ" end in byte 0x5C; only the real "\" between them separates.
    WriteRawFile(dir.path() / "表" / "ソフト.txt", "x\r\n");
    const std::string path = dir.folder() + sjis("表\\ソフト.txt");
    EXPECT_EQ(NativePath(path), dir.path() / "表" / "ソフト.txt");
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(ReadLines(path), Lines{"x"});
}

TEST(LineFile, CaseIsIgnoredInLettersOnlyNeverInTrailBytes) {
    TempDir dir;
    // 葉 is 97 74 and 裕 97 54, ナ 83 69 and オ 83 49: their second bytes are "t"/"T", "i"/"I".
    WriteRawFile(dir.path() / "Kiroku" / "葉子.Ini", "a");
    WriteRawFile(dir.path() / "Kiroku" / "ナミ.ini", "b");
    WriteRawFile(dir.path() / "Kiroku" / "😀A.ini", "c");  // no CP932 spelling: never asked for
    const std::string root = dir.folder();
    EXPECT_EQ(ReadBytes(root + sjis("KIROKU\\葉子.INI")), "a");
    EXPECT_EQ(ReadBytes(root + sjis("kiroku\\ナミ.INI")), "b");
    EXPECT_FALSE(FileExists(root + sjis("Kiroku\\裕子.ini")));
    EXPECT_FALSE(FileExists(root + sjis("Kiroku\\オミ.ini")));
    EXPECT_EQ(ListFiles(root + "kiroku\\", sjis("裕*")), Lines{});
    EXPECT_EQ(ListFiles(root + "kiroku\\", sjis("*子.INI")), Lines{sjis("葉子.Ini")});
    // A save under the other kanji is a new file beside the first.
    ASSERT_TRUE(WriteBytes(root + sjis("Kiroku\\オミ.ini"), "d"));
    EXPECT_EQ(ReadRawFile(dir.path() / "Kiroku" / "ナミ.ini"), "b");
    EXPECT_EQ(ReadRawFile(dir.path() / "Kiroku" / "オミ.ini"), "d");
}

TEST(LineFile, ListFilesByMask) {
    TempDir dir;
    for (const char* name : {"b.skn", "A.SKN", "c.skn.bak", "d.txt", "ab.que", "表1.skn"})
        WriteRawFile(dir.path() / name, "");
    fs::create_directory(dir.path() / "folder.skn");
    const std::string folder = dir.folder();

    EXPECT_EQ(ListFiles(folder, "*.skn"), (Lines{"A.SKN", "b.skn", sjis("表1.skn")}));
    EXPECT_EQ(ListFiles(folder, "*.HLP"), Lines{});
    EXPECT_EQ(ListFiles(folder, "?.skn"), (Lines{"A.SKN", "b.skn"}));
    EXPECT_EQ(ListFiles(folder, "??.skn"), Lines{sjis("表1.skn")});  // "?" is one character
    EXPECT_EQ(ListFiles(folder, "a*"), (Lines{"A.SKN", "ab.que"}));
    EXPECT_EQ(ListFiles(folder, "*.*").size(), 6u);
    EXPECT_EQ(ListFiles(folder, "*"), ListFiles(folder, "*.*"));
    EXPECT_EQ(ListFiles(folder + "missing\\", "*"), Lines{});
}

TEST(LineFile, CreateFolder) {
    TempDir dir;
    EXPECT_TRUE(CreateFolder(dir.folder() + "Sulkan\\LogOn"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "Sulkan" / "LogOn"));
    EXPECT_TRUE(CreateFolder(dir.folder() + "sulkan\\logon\\"));  // already there
    EXPECT_TRUE(CreateFolder(dir.folder() + "SULKAN\\Rec"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "Sulkan" / "Rec"));

    WriteRawFile(dir.path() / "file", "");
    const Result<> made = CreateFolder(dir.folder() + "file");
    ASSERT_FALSE(made);
    EXPECT_EQ(made.problem().message.rfind(sjis("ディレクトリ ") + dir.folder() + "file", 0), 0u);
    // The system's reason ends the message and is kept alone as well.
    EXPECT_FALSE(made.problem().reason.empty());
    EXPECT_TRUE(made.problem().message.ends_with(made.problem().reason));
    EXPECT_FALSE(CreateFolder(dir.folder() + "file\\below"));
}

}  // namespace
}  // namespace sulkan
