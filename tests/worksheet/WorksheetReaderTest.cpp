#include "WorksheetReader.h"

#include <gtest/gtest.h>

#include "LayoutParams.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using Lines = std::vector<std::string>;
using test::Sjis;

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

Lines Unit(const std::string& header, const Lines& ques, const Lines& more = {}) {
    return Join({{header, "<<ques"}, ques, {">>"}, more, {"]]"}});
}

ReadRequest Request(ReadKind kind, int section, int unit) {
    ReadRequest r;
    r.kind = kind;
    r.headerLine = kind == ReadKind::OpenCopy ? "[[unitX" : "[[unit" + std::to_string(unit);
    r.section = section;
    r.unit = unit;
    r.titles.lesson = sjis("国語");
    r.titles.section = sjis("読み");
    r.titles.unit = sjis("春");
    return r;
}

class WorksheetReader : public ::testing::Test {
protected:
    ReadResult Read(const Lines& file, ReadKind kind, int section = 1, int unit = 1) {
        return ReadIntoHolding(file, Request(kind, section, unit), holding, shared);
    }
    // A new master worksheet of unit `unit` of `file`, read as section `section`.
    Worksheet Open(const Lines& file, int section, int unit, LoadOptions options = {}) {
        EXPECT_TRUE(Read(file, ReadKind::OpenMaster, section, unit).ok());
        options.address = {1, section, unit, 0};
        options.titles.lesson = sjis("国語");
        Worksheet ws;
        LoadWorksheet(holding, ws, options, shared);
        return ws;
    }
    Result<> Add(Worksheet& ws, const Lines& file, int section, int unit) {
        return AddUnitToWorksheet(ws, file, Request(ReadKind::AddUnit, section, unit), holding,
                                  shared);
    }
    HoldingArea holding;
    SheetShared shared;
};
using WorksheetReaderAddUnit = WorksheetReader;

TEST_F(WorksheetReader, OpensAMasterUnit) {
    const Lines file = Join({Unit("[[unit4", {"other"}),
                             Unit("[[unit5", Sjis({"{", "#odd", "}", "問 #答#"}),
                                  {"<<graph", "a.bmp", "10", "20", ">>", "<<kgroup", "k", ">>"})});
    const Worksheet ws = Open(file, 2, 5);
    EXPECT_EQ(ws.content.title, sjis("国語//読み§2-5 春"));
    EXPECT_EQ(ws.content.school, sjis("小中学校"));
    EXPECT_EQ(ws.content.nameLine, sjis("　年　組　番　氏名"));
    EXPECT_EQ(ws.content.questionLines,
              Sjis({"問 #答#"}));  // the "{" ... "}" preamble is not printed
    EXPECT_EQ(ws.content.questionFigures, (Lines{"a.bmp", "10", "20"}));
    EXPECT_EQ(ws.content.kgroup, Lines{"k"});
    EXPECT_TRUE(ws.isMaster);
    EXPECT_TRUE(shared.lastReadOpened);
    EXPECT_EQ(shared.lastSectionRead, 2);
}

TEST_F(WorksheetReader, CopyFileTakesItsHeaderAndNothingOfThePreviousRead) {
    Open(Unit("[[unit1", {"q"}, {"<<graph", "a.bmp", "1", "2", ">>"}), 1, 1);
    const Lines copy = Sjis({"[[unitX", "<<header", "テスト", "", "氏名：", ">>", "<<ques",
                             "問 #答#", ">>", "<<ans", "stale", ">>", "]]"});
    ASSERT_TRUE(Read(copy, ReadKind::OpenCopy, 0, 0).ok());
    EXPECT_EQ(holding.content.title, sjis("テスト"));
    EXPECT_EQ(holding.content.school, "");
    EXPECT_EQ(holding.content.nameLine, sjis("氏名："));
    EXPECT_EQ(holding.content.questionLines, Sjis({"問 #答#"}));
    EXPECT_TRUE(holding.content.questionFigures.empty());
}

TEST_F(WorksheetReader, FailuresLeaveHoldingAndSharedValues) {
    Open(Unit("[[unit1", {"q"}), 1, 1);
    const HoldingArea before = holding;
    for (const Lines& missing : {Lines{}, Unit("[[unit20", {"q"}), Unit("[[unit2 ", {"q"})}) {
        const ReadResult r = Read(missing, ReadKind::OpenMaster, 3, 2);
        EXPECT_FALSE(r.found);
        EXPECT_EQ(test::MessageOf(r.problem), sjis("単元がありません（[[unit2）"));
    }
    const std::pair<Lines, std::string> failing[] = {
        {Unit("[[unit2", {"q"}, {"<<value", "630", ">>"}), "<<value block error"},
        {Unit("[[unit2", {"q"}, Join({{"<<font"}, Lines(8, "1"), {">>"}})), "<<font block error"},
        {Unit("[[unit2", {"q"}, Join({{"<<kran"}, Lines(11, "1"), {">>"}})), "<<kran block error"},
        {Unit("[[unit2", Lines(61, "q")), sjis("問題の行は６０行以下です")},
    };
    // Each message names the unit and the line of the failing block, for reports without a
    // window.
    for (const auto& [file, message] : failing) {
        EXPECT_EQ(test::MessageOf(Read(file, ReadKind::OpenMaster, 3, 2).problem),
                  message + sjis("（[[unit2、ファイルの") + (message[0] == '<' ? "5" : "2") +
                      sjis("行目）"));
    }
    EXPECT_EQ(holding, before);
    EXPECT_EQ(shared.lastSectionRead, 1);
}

TEST_F(WorksheetReader, ABlockWithoutItsCloseIsNamed) {
    // "<<ques" runs on past "]]" into unit 2: read as the format says, with a warning.
    const Lines intoNext = {"[[unit1", "<<ques", "A#a#", "]]", "[[unit2",
                            "<<ques",  "B#b#",   ">>",   "]]"};
    const ReadResult r = Read(intoNext, ReadKind::OpenMaster, 1, 1);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(
        r.warnings,
        Lines{sjis("<<ques の中に「]]」の行があります：>> が抜けていませんか（ファイルの4行目）")});
    // A block that reaches the end of the file would take every later unit: refused.
    const Lines toTheEnd = Join({{"[[unit1", "<<ques", "A#a#", ">>"}, DefaultLayoutLines()});
    for (std::size_t cut = 5; cut < toTheEnd.size(); ++cut) {
        Lines file = toTheEnd;
        file.erase(file.begin() + static_cast<std::ptrdiff_t>(cut), file.end());
        if (file.back() == ">>") continue;
        EXPECT_FALSE(Read(file, ReadKind::OpenMaster, 1, 1).ok()) << cut;
    }
    EXPECT_TRUE(Read(Join({toTheEnd, {"]]"}}), ReadKind::OpenMaster, 1, 1).ok());
}

TEST_F(WorksheetReader, AHugeSizeIsClampedOnLoadingAndSavedAsWritten) {
    const Lines font = {"<<font", "2147483647", "Face", "False", "False",
                        "False",  "False",      "0",    ">>"};
    Worksheet ws = Open(Unit("[[unit1", {"A#a#"}, font), 1, 1);
    EXPECT_EQ(ws.params.FontSize, kMaxPoints);
    EXPECT_EQ(ws.params.AnswerFontSize, kMaxPoints);  // question size + 4, within the range
    EXPECT_EQ(FontLines(ws.params), Lines(font.begin() + 1, font.end() - 1));
    ws.params.FontSize = 20;  // answers stay at the size they were shown at
    EXPECT_EQ(FontLines(ws.params)[6], "200");
}

TEST_F(WorksheetReader, LoadKeepsDefaultsForMissingBlocks) {
    const Worksheet ws = Open(Unit("[[unit1", {"q"}), 1, 1);
    LayoutParams expected = WorksheetFallbackLayout();
    expected.ShowAnswers = true;       // the main window's display
    expected.AnswerFontSize = 14 + 4;  // resolved even without "<<font"
    EXPECT_EQ(ws.params, expected);
    EXPECT_EQ(KranLines(ws.params), FallbackKranLines());
    EXPECT_EQ(shared.AnswerFontSize, 18);
}

TEST_F(WorksheetReader, LoadFollowsTheMainWindow) {
    const Lines file = Unit(
        "[[unit1", {"q"},
        Join({{"<<value", "546", "True", "40", "3", "4", "2", "7", ">>"},
              Sjis({"<<font", "12", "MS 明朝", "False", "False", "False", "False", "0", ">>"})}));
    LoadOptions options;
    options.choices.answersShown = false;
    Worksheet ws = Open(file, 1, 1, options);
    EXPECT_EQ(ws.params.PaperWidth, 546);
    EXPECT_FALSE(ws.params.ShowAnswers);  // the saved "True" does not count
    EXPECT_EQ(ws.params.AnswerFontSize, 16);
    EXPECT_EQ(shared.AnswerFontSize, 16);

    options.choices.paperFixed = true;
    options.choices.tickedPaperWidth = 771;
    EXPECT_EQ(Open(file, 1, 1, options).params.PaperWidth, 771);
}

TEST_F(WorksheetReader, EditCopyFileDataAndApply) {
    Worksheet ws = Open(Unit("[[unit1", {"q"}), 1, 1);
    EXPECT_EQ(WorksheetDataLines(ws), LayoutLines(ws.params));  // no empty figure blocks
    ws.content.answerFigures = {"b.bmp", "1", "2"};
    EXPECT_EQ(WorksheetDataLines(ws),
              Join({{"<<AGraph", "b.bmp", "1", "2", ">>"}, LayoutLines(ws.params)}));

    FillHoldingFromWorksheet(ws, holding);
    holding.content.title = "edited";
    holding.content.questionLines.push_back("r");
    holding.content.answerFigures.clear();
    ApplyHoldingToWorksheet(holding, ws, false);
    EXPECT_EQ(ws.content.title, "edited");
    EXPECT_EQ(ws.content.questionLines, (Lines{"q", "r"}));
    EXPECT_EQ(ws.content.answerFigures.size(), 3u);
    EXPECT_FALSE(ws.isMaster);
    EXPECT_TRUE(ws.modified);
}

TEST_F(WorksheetReaderAddUnit, TitleNamesTheAddedUnits) {
    Worksheet ws = Open(Unit("[[unit5", {"q"}), 2, 5);
    Worksheet master = ws;
    ASSERT_TRUE(Add(master, Unit("[[unit6", {"r"}), 2, 6));
    EXPECT_EQ(master.content.title, sjis("国語//§2-5,6"));

    FillHoldingFromWorksheet(ws, holding);
    holding.content.title = sjis("春のテスト");
    ApplyHoldingToWorksheet(holding, ws, false);
    ASSERT_TRUE(Add(ws, Unit("[[unit6", {"r"}), 2, 6));
    ASSERT_TRUE(Add(ws, Unit("[[unit1", {"s"}), 3, 1));
    EXPECT_EQ(ws.content.title, sjis("春のテスト,6 §3-1"));
    EXPECT_EQ(ws.content.questionLines, (Lines{"q", "r", "s"}));
    EXPECT_FALSE(shared.lastReadOpened);
}

TEST_F(WorksheetReaderAddUnit, SectionComparedWithinTheSameWorksheet) {
    Worksheet a = Open(Unit("[[unit5", {"q"}), 2, 5);
    Worksheet b = Open(Unit("[[unit1", {"q"}), 3, 1);
    ASSERT_TRUE(Add(a, Unit("[[unit2", {"r"}), 3, 2));
    EXPECT_EQ(a.content.title, sjis("国語//§2-5 §3-2"));  // not ",2": section 3 was read into b

    Worksheet c = Open(Unit("[[unit5", {"q"}), 2, 5);
    ASSERT_TRUE(Add(b, Unit("[[unit2", {"r"}), 3, 2));
    ASSERT_TRUE(Add(c, Unit("[[unit6", {"r"}), 2, 6));
    EXPECT_EQ(c.content.title, sjis("国語//読み§2-5 春,6"));  // its own title, never b's
}

TEST_F(WorksheetReaderAddUnit, SixtyQuestionLinesInAll) {
    const Worksheet original = Open(Unit("[[unit1", Lines(40, "q")), 1, 1);
    Worksheet ws = original;
    const HoldingArea before = holding;
    const Result<> refused = Add(ws, Unit("[[unit2", Lines(21, "r")), 1, 2);
    EXPECT_FALSE(refused);
    EXPECT_EQ(test::MessageOf(refused),
              sjis("問題の行は６０行以下です（[[unit2、ファイルの2行目）"));
    EXPECT_EQ(ws.content.questionLines, original.content.questionLines);
    EXPECT_EQ(ws.content.title, original.content.title);
    EXPECT_TRUE(ws.isMaster);
    EXPECT_FALSE(ws.modified);
    EXPECT_EQ(holding, before);
    EXPECT_TRUE(shared.lastReadOpened);
    EXPECT_EQ(test::MessageOf(Add(ws, Unit("[[unit3", {"r"}), 1, 2)), UnitMissingMessage());

    EXPECT_TRUE(Add(ws, Unit("[[unit2", Lines(20, "r")), 1, 2));
    EXPECT_EQ(ws.content.questionLines.size(), 60u);
}

TEST_F(WorksheetReaderAddUnit, FiguresAndLayout) {
    Lines figures;
    for (int i = 0; i < 14; ++i) figures.insert(figures.end(), {"f.bmp", "5", "6"});
    Worksheet ws = Open(Unit("[[unit1", {"q"}, Join({{"<<graph"}, figures, {">>"}})), 1, 1);
    const LayoutParams layout = ws.params;
    const Lines added = Unit("[[unit2", {"r"},
                             Join({{"<<graph", "g.bmp", "100", "200", ">>", "<<AGraph", "h.bmp",
                                    "7", "8", ">>", "<<kgroup", "k", ">>"},
                                   DefaultLayoutLines()}));
    ASSERT_TRUE(Add(ws, added, 1, 2));
    EXPECT_EQ(Lines(ws.content.questionFigures.begin(), ws.content.questionFigures.begin() + 3),
              (Lines{"f.bmp", "5", "6"}));
    EXPECT_EQ(Lines(ws.content.questionFigures.end() - 3, ws.content.questionFigures.end()),
              (Lines{"g.bmp", "-1", "-1"}));
    EXPECT_EQ(ws.content.answerFigures, (Lines{"h.bmp", "-1", "-1"}));
    EXPECT_EQ(ws.params, layout);  // the added unit's layout is not taken
    EXPECT_TRUE(ws.content.kgroup.empty());

    const Result<> refused = Add(ws, Unit("[[unit3", {"s"}), 1, 3);  // 15 figures now
    EXPECT_FALSE(refused);
    EXPECT_EQ(test::MessageOf(refused), sjis("これ以上追加できません"));
    EXPECT_EQ(ws.content.questionLines, (Lines{"q", "r"}));
}

}  // namespace
}  // namespace sulkan
