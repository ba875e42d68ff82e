// Copy files: their lines, saving through the name dialog, and reading them back.
#include "CopyFileSave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "LineFile.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "WorksheetReader.h"

namespace sulkan {
namespace {

using Lines = std::vector<std::string>;
using test::ReadRawFile;
using test::TempDir;

// Bytes that only survive when copied as they are: an NEC/IBM duplicate (ED 40), a byte that is
// not CP932 (80), and lines that look like structure inside a block.
Worksheet Composed() {
    Worksheet ws;
    ws.filePath = "/course/kan3/kan33.que";
    ws.isMaster = true;
    ws.modified = true;
    ws.content.title = sjis("三年//読み§3-4 山,5");
    ws.content.nameLine = sjis("　年　組　番　氏名");
    ws.content.questionLines = {sjis("（１）#やま;さん#に登る"), "\xED\x40#\x80#", "]]", "<<value",
                                ""};
    ws.content.questionFigures = {"yama.bmp", "120", "45", "kawa.bmp", "-1", "-1"};
    ws.content.answerFigures = {"kotae.bmp", "300", "600"};
    ws.content.kgroup = {sjis("山"), sjis("川")};
    ws.params = LayoutParams{};
    ws.params.PaperWidth = 771;
    ws.params.ShowAnswers = true;
    ws.params.FontName = sjis("ＭＳ ゴシック");
    ws.params.FontItalic = true;
    ws.params.AnswerFontSize = 20;
    ws.params.BoxStyle = 3;
    ws.params.KranSpare = "x9";
    return ws;
}

Worksheet Plain() {
    Worksheet ws = Composed();
    ws.content.questionFigures.clear();
    ws.content.answerFigures.clear();
    ws.content.kgroup.clear();
    return ws;
}

// What the open-copy command makes of a file.
Worksheet ReadBack(const std::string& path) {
    HoldingArea holding;
    SheetShared shared;
    ReadRequest request;
    request.kind = ReadKind::OpenCopy;
    request.headerLine = "[[unitX";
    EXPECT_TRUE(ReadIntoHolding(ReadLines(path).value_or(Lines{}), request, holding, shared).ok());
    LoadOptions options;
    options.isMaster = false;
    Worksheet ws;
    LoadWorksheet(holding, ws, options, shared);
    return ws;
}

TEST(CopyFile, LinesFollowTheFormatOrder) {
    const Worksheet ws = Composed();
    Lines expected{"[[unitX",           "<<header", ws.content.title, "",
                   ws.content.nameLine, ">>",       "<<ques"};
    expected.insert(expected.end(), ws.content.questionLines.begin(),
                    ws.content.questionLines.end());
    for (const Lines& part :
         {Lines{">>", "<<ans", ">>", "<<graph", "yama.bmp", "120", "45", "kawa.bmp", "-1", "-1",
                ">>", "<<AGraph", "kotae.bmp", "300", "600", ">>"},
          Lines{"<<value", "771", "True", "40", "5", "5", "1", "7", ">>"},
          Lines{"<<font", "12", sjis("ＭＳ ゴシック"), "False", "True", "False", "False", "20",
                ">>"},
          Lines{"<<kran", "3", "15", "2", "0", "0", "0", "15", "10", "0", "x9", ">>"},
          Lines{"<<kgroup", sjis("山"), sjis("川"), ">>", "]]"}})
        expected.insert(expected.end(), part.begin(), part.end());
    EXPECT_EQ(CopyFileLines(ws), expected);

    // Without figures and choices: no figure blocks, and an empty choice block all the same.
    const Lines plain = CopyFileLines(Plain());
    EXPECT_EQ(std::count(plain.begin(), plain.end(), "<<graph"), 0);
    EXPECT_EQ(std::count(plain.begin(), plain.end(), "<<AGraph"), 0);
    EXPECT_EQ(Lines(plain.end() - 3, plain.end()), (Lines{"<<kgroup", ">>", "]]"}));
}

TEST(CopyFile, SavedFileReadsBackAsTheSameWorksheet) {
    TempDir dir;
    for (const Worksheet& original : {Composed(), Plain()}) {
        Worksheet ws = original;
        ScriptedPrompter prompter;
        const std::string path = dir.folder() + "copy.skn";
        ASSERT_TRUE(SaveWorksheetAsCopy(ws, path, dir.folder(), prompter).has_value());
        EXPECT_EQ(ReadRawFile(dir.path() / "copy.skn"), JoinLines(CopyFileLines(original)));

        const Worksheet back = ReadBack(path);
        EXPECT_EQ(back.content.title, original.content.title);
        EXPECT_EQ(back.content.school, original.content.school);
        EXPECT_EQ(back.content.nameLine, original.content.nameLine);
        EXPECT_EQ(back.content.questionLines, original.content.questionLines);
        EXPECT_EQ(back.content.questionFigures, original.content.questionFigures);
        EXPECT_EQ(back.content.answerFigures, original.content.answerFigures);
        EXPECT_EQ(back.content.kgroup, original.content.kgroup);
        EXPECT_EQ(back.params, original.params);

        EXPECT_EQ(ws.filePath, path);
        EXPECT_TRUE(ws.isCopy);
        EXPECT_FALSE(ws.isMaster);
        EXPECT_FALSE(ws.modified);
        EXPECT_TRUE(prompter.shown.empty());
    }
}

TEST(CopyFileSave, TheNameDialogComesBackUntilTheExtensionIsValid) {
    TempDir dir;
    const std::string folder = dir.folder() + "1.5/";
    std::filesystem::create_directories(dir.path() / "1.5");
    Worksheet ws = Plain();
    ScriptedPrompter prompter;
    prompter.fileNames = {folder + "a.txt", folder + "a.sknx", folder + "a"};

    const std::optional<std::string> result =
        SaveWorksheetAsCopy(ws, std::nullopt, folder, prompter);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, folder + "a.skn");  // the folder's "." is no extension
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() / "1.5" / "a.skn"));
    EXPECT_EQ(prompter.shown, (Lines{folder + "a.txt" + sjis(":拡張子が不正です"),
                                     folder + "a.sknx" + sjis(":拡張子が不正です")}));
    EXPECT_EQ(prompter.dialogFolders, (Lines{folder, folder, folder}));
    EXPECT_EQ(CopyFilePathOf("a\\b.SKN"), "a\\b.SKN");

    // Cancelling the dialog saves nothing.
    Worksheet other = Plain();
    EXPECT_FALSE(SaveWorksheetAsCopy(other, std::nullopt, folder, prompter).has_value());
    EXPECT_TRUE(other.modified);
    EXPECT_EQ(other.filePath, "/course/kan3/kan33.que");
}

TEST(CopyFileSave, ANameThatWouldReachAnotherFolderIsRefusedAndAskedAgain) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "course" / "kanji1");
    const std::string folder = dir.folder() + "course/kanji1/";
    Worksheet ws = Plain();
    ScriptedPrompter prompter;
    // On Linux a "\\" typed in the dialog is part of the name, but paths here are built with it.
    prompter.fileNames = {folder + "..\\..\\x.skn", folder + "ok.skn"};

    const std::optional<std::string> result =
        SaveWorksheetAsCopy(ws, std::nullopt, folder, prompter);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, folder + "ok.skn");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].find("..\\..\\x.skn"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "x.skn"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(CopyFileSave, AnExistingFileIsReplacedOnlyAfterYes) {
    TempDir dir;
    const std::string path = dir.folder() + "old.skn";
    test::WriteRawFile(dir.path() / "old.skn", "kept\r\n");
    Worksheet ws = Plain();
    ScriptedPrompter prompter;
    prompter.fileNames = {path, path};
    prompter.answers = {Answer::No, Answer::Yes};

    EXPECT_FALSE(SaveWorksheetAsCopy(ws, std::nullopt, dir.folder(), prompter).has_value());
    EXPECT_EQ(prompter.shown, Lines{sjis("ファイル") + path + sjis("を上書きしてもいいですか？")});
    EXPECT_EQ(prompter.dialogFolders.size(), 1u);  // No ends the command
    EXPECT_EQ(ReadRawFile(dir.path() / "old.skn"), "kept\r\n");
    EXPECT_TRUE(ws.modified);

    EXPECT_TRUE(SaveWorksheetAsCopy(ws, std::nullopt, dir.folder(), prompter).has_value());
    EXPECT_EQ(ReadRawFile(dir.path() / "old.skn"), JoinLines(CopyFileLines(ws)));
}

TEST(CopyFileSave, AFailedSaveKeepsTheOldPathAndTheChanges) {
    TempDir dir;
    test::WriteRawFile(dir.path() / "file", "x");
    const std::string path = dir.folder() + "file/copy.skn";
    Worksheet ws = Plain();
    ScriptedPrompter prompter;
    prompter.fileNames = {path};

    EXPECT_FALSE(SaveWorksheetAsCopy(ws, std::nullopt, dir.folder(), prompter).has_value());
    EXPECT_EQ(prompter.shown, Lines{path + sjis("の保存に失敗しました（フォルダがありません）")});
    EXPECT_EQ(ws.filePath, "/course/kan3/kan33.que");
    EXPECT_TRUE(ws.modified);
    EXPECT_TRUE(ws.isMaster);
}

TEST(CopyFileSave, LinesTheFileCouldNotGiveBackAreRefusedBeforeTheDialog) {
    const std::string refused = sjis("次の行はコピーファイルに保存できません：");
    Worksheet blockEnd = Plain(), preamble = Plain(), tooLong = Plain();
    blockEnd.content.kgroup = {">>"};
    preamble.content.questionLines[0] = "{";
    tooLong.content.questionLines.resize(61, "q");
    const std::pair<Worksheet*, std::string> cases[] = {
        {&blockEnd, refused + ">>"},
        {&preamble, refused + "{"},
        {&tooLong, sjis("問題の行は６０行以下です")}};
    for (const auto& [ws, message] : cases) {
        ScriptedPrompter prompter;
        EXPECT_FALSE(SaveWorksheetAsCopy(*ws, std::nullopt, "", prompter).has_value());
        EXPECT_EQ(prompter.shown, Lines{message});
        EXPECT_TRUE(prompter.dialogFolders.empty());
    }
}

}  // namespace
}  // namespace sulkan
