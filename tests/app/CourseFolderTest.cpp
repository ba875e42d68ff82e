// Which course start-up opens: folders in temporary places, message boxes and the folder dialog
// answered by script.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "CourseFolder.h"
#include "FileChecks.h"
#include "Prompter.h"
#include "Sjis.h"
#include "SystemFolders.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

namespace fs = std::filesystem;
using test::ReadRawFile;
using test::TempDir;
using test::WriteRawFile;
using test::WriteSjisFile;

std::string Folder(const fs::path& path) {
    return path.string() + "/";
}

class CourseFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSjisFile(root.path() / "home" / "note.txt", {"コースではない"});
        places.working = Folder(root.path() / "home");
        places.installedSample = Folder(root.path() / "share" / "sulkan" / "kanji");
        places.userSample = Folder(root.path() / "data" / "Sulkan++" / "kanji");
    }

    static void MakeCourse(const fs::path& folder, const std::string& title) {
        WriteSjisFile(folder / "Main.ind", {title, "", "三年の漢字,kan3\\_kan3", ">>"});
    }

    std::optional<std::string> find() {
        return FindCourseFolder(places, prompter, [this](const std::string& initial) {
            dialogFolders.push_back(initial);
            if (choices.empty()) return std::optional<std::string>();
            auto choice = choices.front();
            choices.pop_front();
            return choice;
        });
    }

    TempDir root;
    CourseFolderPlaces places;
    ScriptedPrompter prompter;
    std::deque<std::optional<std::string>> choices;  // none left: Cancel
    std::vector<std::string> dialogFolders;
};

TEST_F(CourseFolderTest, WorkingFolderThenRememberedThenTheUsersCopyWithoutAsking) {
    MakeCourse(root.path() / "mine", "自分のコース");
    MakeCourse(root.path() / "data" / "Sulkan++" / "kanji", "サンプル");
    places.remembered = Folder(root.path() / "mine");

    // Started in a course (or with it named), that course wins over the remembered one.
    MakeCourse(root.path() / "here", "ここのコース");
    places.working = Folder(root.path() / "here");
    places.named = true;
    EXPECT_EQ(find(), places.working);

    // From the desktop menu: the home folder holds no course.
    places.working = Folder(root.path() / "home");
    places.named = false;
    EXPECT_EQ(find(), places.remembered);

    places.remembered.clear();
    EXPECT_EQ(find(), places.userSample);

    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(dialogFolders.empty());
}

TEST_F(CourseFolderTest, FirstRunCopiesTheInstalledSampleWritableAndLaterRunsKeepTheCopy) {
    const fs::path installed = root.path() / "share" / "sulkan" / "kanji";
    MakeCourse(installed, "サンプル");
    const std::string question = sjis("[[unit1\r\n表示\r\n]]\r\n") + std::string("\x81\xFF\r\n");
    WriteRawFile(installed / "kan3" / "kan31.que", question);
    WriteRawFile(installed / "kan3" / "Graph" / "a.bmp", std::string("BM\0\x01", 4));
    // Installed data is read-only.
    for (const fs::path& file : {installed / "Main.ind", installed / "kan3" / "kan31.que",
                                 installed / "kan3" / "Graph" / "a.bmp"})
        fs::permissions(file,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(installed / "kan3", fs::perms::owner_read | fs::perms::owner_exec);

    ASSERT_EQ(find(), places.userSample);
    fs::permissions(installed / "kan3", fs::perms::owner_all);
    const fs::path copy = root.path() / "data" / "Sulkan++" / "kanji";
    EXPECT_EQ(ReadRawFile(copy / "kan3" / "kan31.que"), question);
    EXPECT_EQ(ReadRawFile(copy / "kan3" / "Graph" / "a.bmp"), std::string("BM\0\x01", 4));
    EXPECT_EQ(ReadRawFile(copy / "Main.ind"), ReadRawFile(installed / "Main.ind"));
    for (const fs::path& path : {copy / "Main.ind", copy / "kan3" / "kan31.que", copy / "kan3"})
        EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_write, fs::perms::none) << path;
    // Nothing of the copy's making is left beside it.
    std::vector<std::string> beside;
    for (const auto& entry : fs::directory_iterator(copy.parent_path()))
        beside.push_back(entry.path().filename().string());
    EXPECT_EQ(beside, std::vector<std::string>{"kanji"});
    EXPECT_TRUE(prompter.shown.empty());

    // The user's records and edits in the copy stay: it is not copied again.
    WriteRawFile(copy / "kan3" / "kan31.que", "edited\r\n");
    EXPECT_EQ(find(), places.userSample);
    EXPECT_EQ(ReadRawFile(copy / "kan3" / "kan31.que"), "edited\r\n");

    // Remembered and then removed by the user: a fresh copy, as on the first run.
    places.remembered = places.userSample;
    fs::remove_all(copy);
    EXPECT_EQ(find(), places.userSample);
    EXPECT_EQ(ReadRawFile(copy / "kan3" / "kan31.que"), question);
    EXPECT_TRUE(dialogFolders.empty());
}

TEST_F(CourseFolderTest, NamedFolderWithoutCourseIsReportedAndCancelEndsWithNothingCopied) {
    MakeCourse(root.path() / "mine", "自分のコース");
    MakeCourse(root.path() / "share" / "sulkan" / "kanji", "サンプル");
    places.remembered = Folder(root.path() / "mine");
    places.named = true;

    EXPECT_EQ(find(), std::nullopt);
    EXPECT_EQ(prompter.shown,
              std::vector<std::string>{FileMissingText(places.working + "Main.ind")});
    EXPECT_EQ(dialogFolders, std::vector<std::string>{places.working});
    EXPECT_FALSE(fs::exists(root.path() / "data"));
}

TEST_F(CourseFolderTest, VanishedCourseIsNamedAndTheDialogComesBackUntilACourseIsChosen) {
    // The remembered course lay on a stick that is not plugged in: no sample instead of it.
    MakeCourse(root.path() / "share" / "sulkan" / "kanji", "サンプル");
    places.remembered = Folder(root.path() / "stick" / "kanji");
    MakeCourse(root.path() / "other", "別のコース");
    fs::create_directories(root.path() / "empty");
    choices = {(root.path() / "empty").string(), (root.path() / "other").string()};

    EXPECT_EQ(find(), Folder(root.path() / "other"));
    EXPECT_EQ(prompter.shown, (std::vector<std::string>{
                                  FileMissingText(places.remembered + "Main.ind"),
                                  FileMissingText(Folder(root.path() / "empty") + "Main.ind")}));
    // The first dialog opens where the program was started, the next where the user looked.
    EXPECT_EQ(dialogFolders,
              (std::vector<std::string>{places.working, Folder(root.path() / "empty")}));
    EXPECT_FALSE(fs::exists(root.path() / "data"));
}

TEST_F(CourseFolderTest, FailedFirstCopyIsReportedThenTheDialogIsOffered) {
    MakeCourse(root.path() / "share" / "sulkan" / "kanji", "サンプル");
    // A file where the data folder should be.
    WriteRawFile(root.path() / "data", "x");

    EXPECT_EQ(find(), std::nullopt);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].find(sjis(" にコピーできません（")), std::string::npos)
        << prompter.shown[0];
    EXPECT_EQ(dialogFolders.size(), 1u);
    EXPECT_EQ(ReadRawFile(root.path() / "data"), "x");
}

TEST(CopyCourseFolder, CopiesTheCourseOrNamesBothFoldersWithTheReason) {
    TempDir dir;
    WriteSjisFile(dir.path() / "from" / "Main.ind", {"サンプル", "", ">>"});
    WriteSjisFile(dir.path() / "from" / "kan3" / "kan31.que", {"[[unit1"});
    const std::string from = Folder(dir.path() / "from");
    const Result<> copied = CopyCourseFolder(from, Folder(dir.path() / "to"));
    ASSERT_TRUE(copied) << copied.problem().message;
    EXPECT_EQ(ReadRawFile(dir.path() / "to" / "kan3" / "kan31.que"), sjis("[[unit1\r\n"));

    // A file where the target's folder should be: nothing is made, and the reason is kept alone.
    WriteRawFile(dir.path() / "file", "x");
    const std::string to = Folder(dir.path() / "file" / "to");
    const Result<> failed = CopyCourseFolder(from, to);
    ASSERT_FALSE(failed);
    const Problem& problem = failed.problem();
    EXPECT_EQ(problem.message.rfind(sjis("コース ") + from + sjis(" を ") + to, 0), 0u)
        << problem.message;
    ASSERT_FALSE(problem.reason.empty());
    EXPECT_TRUE(problem.message.ends_with(sjis("（") + problem.reason + sjis("）")))
        << problem.message;
    EXPECT_EQ(ReadRawFile(dir.path() / "file"), "x");
}

TEST(CommandCourseFolder, TheGivenFolderOrTheWorkingOne) {
    EXPECT_EQ(CommandCourseFolder("/srv/kanji"), "/srv/kanji/");
    EXPECT_EQ(CommandCourseFolder("/srv/漢字/"), sjis("/srv/漢字/"));
    EXPECT_EQ(CommandCourseFolder(""), WorkingFolder());
    // A name CP932 cannot hold is no folder to look in.
    EXPECT_EQ(CommandCourseFolder("/srv/\xF0\x9F\x98\x80"), std::nullopt);
}

}  // namespace
}  // namespace sulkan
