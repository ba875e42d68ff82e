// Overwriting a master unit in its question file.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "LayoutParams.h"
#include "LineFile.h"
#include "MasterSave.h"
#include "QuestionFile.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "WorksheetReader.h"

namespace sulkan {
namespace {

using test::ReadRawFile;
using test::Sjis;
using test::TempDir;
using test::WriteRawFile;
using Lines = std::vector<std::string>;

// CR LF lines: UTF-8 text, then CP932 lines as they are.
std::string Crlf(const Lines& utf8, const Lines& cp932 = {}) {
    Lines lines = Sjis(utf8);
    lines.insert(lines.end(), cp932.begin(), cp932.end());
    return JoinLines(lines);
}

// Text before the unit with a lone LF, the unit with every kind of block, and a next unit that
// ends the file without a line end.
struct QuestionFile {
    std::string before = Crlf({"メモ"}) + sjis("LFだけの行\n");
    std::string unit =
        Crlf({"[[unit1", "<<ques", "{",          "前置き",   "}",        "（１）#やま#に登る",
              ">>",      "<<hint", "山の字",     ">>",       "<<kgroup", "やま",
              "かわ",    ">>",     "<<SoftKeyB", "key1.txt", ">>",       "<<graph",
              "f1.bmp",  "10",     "20",         ">>"},
             DefaultLayoutLines()) +
        "]]\r\n";
    std::string after = Crlf({"[[unit2", "<<ques", "#き#", ">>"}) + sjis("]]\n末尾");

    std::string bytes() const { return before + unit + after; }
};

Worksheet MasterOf(const std::string& path) {
    Worksheet ws;
    ws.address = {1, 1, 1, 0};
    ws.filePath = path;
    ws.isMaster = true;
    ws.modified = true;
    ws.params = LayoutParams{};
    ws.params.LineSpacing = 55;
    ws.params.BoxStyle = 1;
    ws.content.questionLines = Sjis({"（１）#やま#に登る"});
    ws.content.questionFigures = {"f1.bmp", "120", "20"};
    ws.content.answerFigures = {"a1.bmp", "0", "0"};
    return ws;
}

TEST(MasterSave, RewritesTheUnitInPlaceAndKeepsEveryOtherByte) {
    TempDir dir;
    const std::string path = dir.folder() + "kan31.que";
    const QuestionFile file;
    WriteRawFile(path, file.bytes());
    Worksheet ws = MasterOf(path);
    ScriptedPrompter prompter;

    ASSERT_EQ(OverwriteMaster(ws, prompter), MasterSaveStatus::Saved);
    EXPECT_FALSE(ws.modified);
    EXPECT_TRUE(prompter.shown.empty());

    // The questions, with their preamble, and the drill's blocks come from the file; the layout
    // and the figures from the worksheet.
    const std::string unit = Crlf({"[[unit1",  "<<SoftKeyB", "key1.txt",
                                   ">>",       "<<ques",     "{",
                                   "前置き",   "}",          "（１）#やま#に登る",
                                   ">>",       "<<kgroup",   "やま",
                                   "かわ",     ">>",         "<<dummy",
                                   ">>",       "<<graph",    "f1.bmp",
                                   "120",      "20",         ">>",
                                   "<<AGraph", "a1.bmp",     "0",
                                   "0",        ">>",         "<<hint",
                                   "山の字",   ">>"},
                                  LayoutLines(ws.params)) +
                             "]]\r\n";
    EXPECT_EQ(ReadRawFile(path), file.before + unit + file.after);
    EXPECT_NE(LayoutLines(ws.params), DefaultLayoutLines());

    // A worksheet without figures drops the figure blocks.
    ws.content.questionFigures.clear();
    ws.content.answerFigures.clear();
    const std::string again = MasterFileBytes(ReadRawFile(path), ws).bytes;
    EXPECT_EQ(again.find(sjis("<<graph")), std::string::npos);
    EXPECT_EQ(again.substr(0, file.before.size()), file.before);
    EXPECT_EQ(again.substr(again.size() - file.after.size()), file.after);
}

TEST(MasterSave, AUnitGoneFromTheFileIsAppendedFromTheWorksheet) {
    Worksheet ws = MasterOf("unused");
    ws.content.kgroup = Sjis({"やま"});
    const std::string old = Crlf({"[[unit2", "<<ques", "#き#", ">>"}) + "]]";  // no final CR LF
    const std::string unit =
        Crlf({"[[unit1", "<<ques", "（１）#やま#に登る", ">>", "<<dummy", ">>"},
             LayoutLines(ws.params)) +
        Crlf({"<<graph", "f1.bmp", "120", "20", ">>", "<<AGraph", "a1.bmp", "0", "0", ">>",
              "<<kgroup", "やま", ">>", "]]"});
    EXPECT_EQ(MasterFileBytes(old, ws).bytes, old + "\r\n" + unit);
}

TEST(MasterSave, OnlyAnUnchangedMasterOverwrites) {
    TempDir dir;
    const std::string path = dir.folder() + "kan31.que";
    const QuestionFile file;
    WriteRawFile(path, file.bytes());
    ScriptedPrompter prompter;
    for (auto make :
         {+[](Worksheet& w) { w.isMaster = false; }, +[](Worksheet& w) { w.isCopy = true; }}) {
        Worksheet ws = MasterOf(path);
        make(ws);
        EXPECT_EQ(OverwriteMaster(ws, prompter), MasterSaveStatus::NotMaster);
        EXPECT_TRUE(ws.modified);
    }
    EXPECT_EQ(ReadRawFile(path), file.bytes());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(MasterSave, AFailedSaveNamesTheFileAndKeepsTheWorksheetModified) {
    TempDir dir;
    const std::string path = dir.folder() + "kan31.que";
    ScriptedPrompter prompter;

    Worksheet missing = MasterOf(path);
    EXPECT_EQ(OverwriteMaster(missing, prompter), MasterSaveStatus::Failed);
    EXPECT_TRUE(missing.modified);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0], sjis("ファイル ") + path + sjis(" が見つかりません"));

    // The write itself fails: the file turns into a folder just before the new one replaces it.
    WriteRawFile(path, QuestionFile{}.bytes());
    std::function<void()> turnIntoFolder = [&] {
        std::filesystem::remove(path);
        WriteRawFile(std::filesystem::path(path) / "inside", "x");
    };
    testing_hooks::beforeRename = &turnIntoFolder;
    Worksheet ws = MasterOf(path);
    const MasterSaveStatus status = OverwriteMaster(ws, prompter);
    testing_hooks::beforeRename = nullptr;
    EXPECT_EQ(status, MasterSaveStatus::Failed);
    EXPECT_TRUE(ws.modified);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(
        prompter.shown[1],
        sjis("ファイル ") + path + sjis(" を保存できませんでした（同じ名前のフォルダがあります）"));
}

// The worksheet a teacher gets by opening a unit of these bytes, unchanged.
Worksheet Opened(const std::string& bytes, const std::string& path = "unused", int unit = 1) {
    HoldingArea holding;
    SheetShared shared;
    ReadRequest request;
    request.headerLine = "[[unit" + std::to_string(unit);
    EXPECT_TRUE(ReadIntoHolding(SplitLines(bytes), request, holding, shared).ok());
    LoadOptions options;
    options.address = {1, 1, unit, 0};
    options.filePath = path;
    Worksheet ws;
    LoadWorksheet(holding, ws, options, shared);
    return ws;
}

TEST(MasterSave, RepeatedBlocksReadTheSameBeforeAndAfterAnUnchangedSave) {
    const std::string bytes = JoinLines(
        {"[[unit1", "<<ques", "A#a#", ">>", "<<kgroup", "x", ">>", "<<kgroup", "y", ">>", "]]"});
    const MasterBytes saved = MasterFileBytes(bytes, Opened(bytes));
    ASSERT_FALSE(saved.problem);
    const Lines lines = SplitLines(saved.bytes);
    EXPECT_EQ(ReadUnit(lines, 0).kgroup, Lines{"y"});  // the editor's reader
    EXPECT_EQ(ReadUnitStrict(lines, 0).blocks.kgroup, Lines{"y"});
    // Saved again unchanged, the file stays byte for byte.
    EXPECT_EQ(MasterFileBytes(saved.bytes, Opened(saved.bytes)).bytes, saved.bytes);
}

TEST(MasterSave, APreambleOfALaterQuestionBlockStaysOne) {
    // Reproducer: the default layout is written into a unit without one, which rewrites it.
    const std::string bytes =
        JoinLines({"[[unit1", "<<ques", "a", ">>", "<<ques", "{", "}", "b", ">>", "]]"});
    const MasterBytes saved = MasterFileBytes(bytes, Opened(bytes));
    ASSERT_FALSE(saved.problem);
    ASSERT_NE(saved.bytes, bytes);
    EXPECT_EQ(Opened(saved.bytes).content.questionLines, (Lines{"a", "b"}));
    EXPECT_EQ(ReadUnit(SplitLines(saved.bytes), 0).ques, ReadUnit(SplitLines(bytes), 0).ques);
}

TEST(MasterSave, AHeaderInsideAnotherUnitsBlockIsNotOverwritten) {
    TempDir dir;
    const std::string path = dir.folder() + "kan31.que";
    // A question line of unit 1 reads like unit 2's header, and is found first.
    const std::string bytes = JoinLines(
        {"[[unit1", "<<ques", "[[unit2", ">>", "]]", "[[unit2", "<<ques", "B#b#", ">>", "]]"});
    WriteRawFile(path, bytes);
    Worksheet ws = Opened(bytes, path, 2);
    ws.isMaster = true;
    ws.modified = true;
    ScriptedPrompter prompter;
    EXPECT_EQ(OverwriteMaster(ws, prompter), MasterSaveStatus::Failed);
    EXPECT_TRUE(ws.modified);
    EXPECT_EQ(ReadRawFile(path), bytes);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(
        prompter.shown[0],
        sjis("ファイル ") + path +
            sjis(" に保存できません：「[[unit2」（ファイルの3行目）は「[[unit1」のブロックの中"
                 "の行で、単元の見出しではありません"));
}

}  // namespace
}  // namespace sulkan
