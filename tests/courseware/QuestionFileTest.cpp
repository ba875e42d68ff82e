#include "QuestionFile.h"

#include <gtest/gtest.h>

#include "LayoutParams.h"
#include "LineFile.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using Lines = std::vector<std::string>;
using test::Sjis;

Lines Concat(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// The unit of headerLine written into the file as the master save writes it (a unit that
// already reads as blocks stays as it stands); file takes the spliced bytes, cut into lines, so
// each case can say what the file holds afterwards. A refusal leaves file as it was.
UnitSplice Splice(Lines& file, const std::string& headerLine, const UnitBlocks& blocks) {
    UnitSplice spliced = SpliceUnit(JoinLines(file), headerLine, blocks, /*keepUnchanged=*/true);
    if (spliced.problem) {
        EXPECT_TRUE(spliced.bytes.empty());
        return spliced;
    }
    file = SplitLines(spliced.bytes);
    // Every line of the result ends in CR LF, so comparing lines compares the bytes.
    EXPECT_EQ(JoinLines(file), spliced.bytes);
    return spliced;
}

Lines QuestionUnit(std::size_t questionLines) {
    return Concat({{"[[unit1", "<<ques"},
                   Lines(questionLines, "q #a#"),
                   {">>"},
                   DefaultLayoutLines(),
                   {"]]"}});
}

TEST(QuestionFileRead, LocatesWholeHeaderLinesOnly) {
    const Lines file = {"[[unit10", "]]", "[[unit1", "]]", "[[unit2 ", "[[Unit3", "[[unit1"};
    EXPECT_EQ(LocateUnit(file, "[[unit1"), 2u);  // first match, not the prefix of unit 10
    EXPECT_EQ(LocateUnit(file, "[[unit10"), 0u);
    EXPECT_EQ(LocateUnit({"[[unit1"}, "[[unit10"), std::nullopt);
    EXPECT_EQ(LocateUnit(file, "[[unit2"), std::nullopt);  // the file's line has a trailing blank
    EXPECT_EQ(LocateUnit(file, "[[unit3"), std::nullopt);
}

TEST(QuestionFileRead, TakesBlocksInAnyOrderUpToTheUnitEnd) {
    const Lines file =
        Sjis({"[[unit1", "stray", "<<hint", "ヒント",    ">>",      "<<kran", "1",  ">>",
              "<<Ques",  "x",     ">>",     "<<ques",    "問 #答#", "",       ">>", "<<graph",
              "a.bmp",   "1",     "2",      ">>",        "<<ques",  "次",     ">>", "<<dummy",
              ">>",      "]]",    "<<ques", "next unit", ">>"});
    const UnitBlocks b = ReadUnit(file, 0);
    EXPECT_EQ(b.ques, Sjis({"問 #答#", "", "次"}));  // tags match whole lines; repeats add up
    EXPECT_EQ(b.hint, Sjis({"ヒント"}));
    EXPECT_EQ(b.kran, Lines{"1"});  // the lenient reader does not judge counts
    EXPECT_EQ(b.graph, (Lines{"a.bmp", "1", "2"}));
    EXPECT_EQ(UnitEnd(file, 0), 26u);
}

TEST(QuestionFileRead, MissingCloseOrUnitEnd) {
    // A block without ">>" takes everything up to the next ">>" or the end of the file.
    const Lines open = {"[[unit1", "<<ques", "a #b#", "]]", "[[unit2", "<<hint", "h", "]]"};
    EXPECT_EQ(ReadUnit(open, 0).ques, (Lines{"a #b#", "]]", "[[unit2", "<<hint", "h", "]]"}));
    EXPECT_EQ(UnitEnd(open, 0), open.size());

    // A unit without "]]" ends where the next unit starts.
    const Lines noEnd = {"[[unit1", "<<ques", "a", ">>", "[[unit2", "<<hint", "h", ">>", "]]"};
    EXPECT_TRUE(ReadUnit(noEnd, 0).hint.empty());
    EXPECT_EQ(UnitEnd(noEnd, 0), 4u);
    EXPECT_EQ(UnitEnd({"[[unit1", "<<ques", ">>", "x"}, 0), 4u);
}

TEST(QuestionFileStrict, SkipsTheBracePreamble) {
    auto read = ReadUnitStrict({"[[unit1", "<<ques", "{", "#odd", "}", "q", ">>", "]]"}, 0);
    EXPECT_EQ(read.blocks.ques, Lines{"q"});
    read = ReadUnitStrict({"[[unit1", "<<ques", "q", "{", "}", ">>", "]]"}, 0);
    EXPECT_EQ(read.blocks.ques, (Lines{"q", "{", "}"}));
    // Without "}" the preamble ends with its block, and later blocks are still read.
    read = ReadUnitStrict({"[[unit1", "<<ques", "{", "q", ">>", "<<ques", "r", ">>", "]]", "}"}, 0);
    EXPECT_EQ(read.blocks.ques, Lines{"r"});
}

TEST(QuestionFileStrict, LayoutBlockLengths) {
    auto read = ReadUnitStrict({"[[unit1", "<<ques", "q", ">>", "<<value", "1", "2", "3", "4", "5",
                                "6", ">>", "<<kgroup", "k", ">>", "]]"},
                               0);
    EXPECT_EQ(test::MessageOf(read.problem), "<<value block error");
    EXPECT_EQ(read.blocks.ques, Lines{"q"});  // taken before the failing block, nothing after
    EXPECT_TRUE(read.blocks.kgroup.empty());

    EXPECT_EQ(
        test::MessageOf(
            ReadUnitStrict(Concat({{"[[unit1", "<<font"}, Lines(8, "1"), {">>"}}), 0).problem),
        "<<font block error");
    EXPECT_EQ(
        test::MessageOf(
            ReadUnitStrict(Concat({{"[[unit1", "<<kran"}, Lines(11, "1"), {">>"}}), 0).problem),
        "<<kran block error");
    read = ReadUnitStrict(Concat({{"[[unit1", "<<kran"}, Lines(8, "1"), {">>"}}), 0);
    EXPECT_FALSE(read.problem);
    EXPECT_EQ(read.blocks.kran, Concat({Lines(8, "1"), {"0", "0"}}));

    // A block the unit lacks stays empty, so the worksheet keeps its own values.
    read = ReadUnitStrict({"[[unit1", "<<ques", "q", ">>", "]]"}, 0);
    EXPECT_FALSE(read.problem);
    EXPECT_TRUE(read.blocks.value.empty() && read.blocks.font.empty() && read.blocks.kran.empty());
}

TEST(QuestionFileStrict, SixtyQuestionLinesAtMost) {
    EXPECT_FALSE(ReadUnitStrict(QuestionUnit(60), 0).problem);
    const auto read = ReadUnitStrict(QuestionUnit(61), 0);
    EXPECT_EQ(test::MessageOf(read.problem), sjis("問題の行は６０行以下です"));
    EXPECT_TRUE(read.blocks.ques.empty() && read.blocks.value.empty());
    EXPECT_FALSE(ReadUnitStrict(QuestionUnit(20), 0, 40).problem);
    EXPECT_TRUE(ReadUnitStrict(QuestionUnit(21), 0, 40).problem);
}

UnitBlocks FullBlocks() {
    UnitBlocks b = ReadLayoutText(DefaultLayoutLines());
    b.ques = {"Q #A#"};
    b.graph = {"g.bmp", "1", "2"};
    b.agraph = {"a.bmp", "3", "4"};
    b.kgroup = {"A"};
    b.dummy = {"D"};
    b.hint = {"H"};
    b.softKeyB = {"kb.txt"};
    return b;
}

TEST(QuestionFileWrite, BlockOrders) {
    const UnitBlocks b = FullBlocks();
    const Lines layout = DefaultLayoutLines();
    EXPECT_EQ(
        UnitLines("[[unit2", b, UnitOrder::Existing),
        Concat(
            {{"[[unit2",  "<<SoftKeyB", "kb.txt", ">>", "<<ques",  "Q #A#",  ">>", "<<kgroup", "A",
              ">>",       "<<dummy",    "D",      ">>", "<<graph", "g.bmp",  "1",  "2",        ">>",
              "<<AGraph", "a.bmp",      "3",      "4",  ">>",      "<<hint", "H",  ">>"},
             layout,
             {"]]"}}));
    // A new unit keeps the choices, hints and keyboard it was given, after the usual blocks.
    EXPECT_EQ(UnitLines("[[unit2R1", b, UnitOrder::New),
              Concat({{"[[unit2R1", "<<ques", "Q #A#", ">>", "<<dummy", "D", ">>"},
                      layout,
                      {"<<graph", "g.bmp", "1",      "2",          ">>",     "<<AGraph", "a.bmp",
                       "3",       "4",     ">>",     "<<SoftKeyB", "kb.txt", ">>",       "<<kgroup",
                       "A",       ">>",    "<<hint", "H",          ">>",     "]]"}}));
    // Empty blocks are left out, except "<<ques" and "<<dummy".
    EXPECT_EQ(UnitLines("[[unit2", {}, UnitOrder::Existing),
              (Lines{"[[unit2", "<<ques", ">>", "<<dummy", ">>", "]]"}));
}

TEST(QuestionFileWrite, NewUnitOneAsTheEditorFirstWritesIt) {
    UnitBlocks b = ReadLayoutText(DefaultLayoutLines());
    b.ques = Sjis({"１．次の各空欄に適語を入れなさい。", "例　日本の首都は　#　東京　#　です"});
    Lines file;
    EXPECT_FALSE(Splice(file, "[[unit1", b).replaced);
    const Lines expected = Sjis({"[[unit1",
                                 "<<ques",
                                 "１．次の各空欄に適語を入れなさい。",
                                 "例　日本の首都は　#　東京　#　です",
                                 ">>",
                                 "<<dummy",
                                 ">>",
                                 "<<value",
                                 "630",
                                 "False",
                                 "40",
                                 "5",
                                 "5",
                                 "1",
                                 "7",
                                 ">>",
                                 "<<font",
                                 "12",
                                 "MS 明朝",
                                 "False",
                                 "False",
                                 "False",
                                 "False",
                                 "0",
                                 ">>",
                                 "<<kran",
                                 "5",
                                 "15",
                                 "2",
                                 "0",
                                 "0",
                                 "0",
                                 "15",
                                 "10",
                                 "0",
                                 "0",
                                 ">>",
                                 "]]"});
    ASSERT_EQ(file.size(), 38u);
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(file[i], expected[i]) << i;
}

TEST(QuestionFileWrite, ReplacesInPlaceKeepingEveryOtherByte) {
    const Lines before = {"\x81\x20\xff\x80 not CP932", "", "[[unit1 ", "]]"};
    const Lines after = Concat({Sjis({"[[unit10", "<<ques", "十 #答#", ">>", "]]"}), {"\xfd\x81"}});
    Lines file = Concat(
        {before, Sjis({"[[unit1", "<<hint", "古い", ">>", "<<ques", "旧", ">>", "]]"}), after});
    UnitBlocks blocks = ReadUnit(file, before.size());
    blocks.ques = Sjis({"新 #答え#"});
    EXPECT_TRUE(Splice(file, "[[unit1", blocks).replaced);
    EXPECT_EQ(
        JoinLines(file),
        JoinLines(Concat({before, UnitLines("[[unit1", blocks, UnitOrder::Existing), after})));

    // Without "]]" only the unit itself is replaced, not the unit after it.
    file = {"[[unit1", "<<ques", "a", ">>", "[[unit2", "<<ques", "c", ">>", "]]"};
    EXPECT_TRUE(Splice(file, "[[unit1", blocks).replaced);
    EXPECT_EQ(file, Concat({UnitLines("[[unit1", blocks, UnitOrder::Existing),
                            {"[[unit2", "<<ques", "c", ">>", "]]"}}));
}

TEST(QuestionFileWrite, AppendsWhenTheHeaderIsAbsent) {
    const Lines original = {"[[unit1", "]]", "\x82"};
    Lines file = original;
    EXPECT_FALSE(Splice(file, "[[unit1R1", FullBlocks()).replaced);
    EXPECT_EQ(file, Concat({original, UnitLines("[[unit1R1", FullBlocks(), UnitOrder::New)}));
}

TEST(QuestionFileWrite, UnclosedBlockIsRewrittenWithoutLosingTheUnitsItSwallowed) {
    // Rewriting would turn unit 2 into question lines of unit 1: the file is left alone.
    Lines file = {"[[unit1", "<<ques", "a #b#", "]]", "[[unit2", "<<hint", "h", "]]"};
    const Lines before = file;
    const UnitBlocks unit2 = ReadUnit(file, 4);
    UnitBlocks changed = ReadUnit(file, 0);
    changed.hint = {"new"};
    const UnitSplice written = Splice(file, "[[unit1", changed);
    EXPECT_EQ(test::MessageOf(written.problem),
              sjis("<<ques の終わりの >> がありません（ファイルの2行目）"));
    EXPECT_EQ(file, before);
    EXPECT_EQ(ReadUnit(file, *LocateUnit(file, "[[unit2")), unit2);
    // Nor is a new unit appended into the open block.
    EXPECT_TRUE(Splice(file, "[[unit3", changed).problem);
    EXPECT_EQ(file, before);
}

TEST(QuestionFileWrite, AHeaderInsideAnotherUnitsBlockIsNoUnitToWrite) {
    Lines file = {"[[unit1", "<<ques", "[[unit2", ">>", "]]",
                  "[[unit2", "<<ques", "B#b#",    ">>", "]]"};
    const Lines before = file;
    UnitBlocks blocks;
    blocks.ques = {"C#c#"};
    EXPECT_TRUE(Splice(file, "[[unit2", blocks).problem);  // found first, inside unit 1
    EXPECT_EQ(file, before);
    EXPECT_TRUE(Splice(file, "[[unit1", blocks).replaced);  // unit 1 itself is fine
}

TEST(QuestionFileWrite, ContentTheFileCannotGiveBackIsRefused) {
    for (const Lines& ques : {Lines{">>"}, Lines{"a\r\nb"}, Lines{"a\rb"}}) {
        Lines file = {"[[unit1", "<<ques", "q", ">>", "]]"};
        UnitBlocks blocks;
        blocks.ques = ques;
        EXPECT_TRUE(Splice(file, "[[unit1", blocks).problem);
        EXPECT_EQ(file, (Lines{"[[unit1", "<<ques", "q", ">>", "]]"}));
    }
}

TEST(QuestionFileWrite, AnUnchangedUnitKeepsItsLinesAsTheyStand) {
    const Lines file = {"x", "[[unit1", "stray",    "<<kgroup", "a",  ">>", "<<ques",
                        "q", ">>",      "<<kgroup", "b",        ">>", "]]", "y"};
    Lines written = file;
    EXPECT_TRUE(Splice(written, "[[unit1", ReadUnit(file, 1)).replaced);
    EXPECT_EQ(written, file);
}

TEST(QuestionFileWrite, QuestionBlocksKeepTheirPreamblesWhileTheQuestionsStand) {
    // The worksheet reader skips a "{" ... "}" preamble at the start of every "<<ques" block;
    // merged into the first block, the second block's preamble would read as questions.
    const Lines file = {"[[unit1", "<<ques", "a", ">>", "<<ques", "{",
                        "note",    "}",      "b", ">>", "]]"};
    UnitBlocks blocks = ReadUnit(file, 0);
    blocks.hint = {"h"};
    Lines written = file;
    EXPECT_TRUE(Splice(written, "[[unit1", blocks).replaced);
    EXPECT_EQ(written, (Lines{"[[unit1", "<<ques", "a", ">>", "<<ques", "{", "note", "}", "b", ">>",
                              "<<dummy", ">>", "<<hint", "h", ">>", "]]"}));
    EXPECT_EQ(ReadUnit(written, 0), blocks);
    EXPECT_EQ(ReadUnitStrict(written, 0).blocks.ques, (Lines{"a", "b"}));
    // Questions the editor changed are written as one block, as shown there.
    blocks.ques.push_back("c");
    EXPECT_TRUE(Splice(written, "[[unit1", blocks).replaced);
    EXPECT_EQ(ReadUnitStrict(written, 0).blocks.ques, blocks.ques);
}

TEST(QuestionFileWrite, AnEmptyKranBlockStaysAndStillReadsAsZeros) {
    // Reproducer: without the block the worksheet reader would take its default boxes instead.
    const Lines file = {"[[unitX", "<<header", "t",      ">>", "<<ques",
                        "a",       ">>",       "<<kran", ">>", "]]"};
    UnitBlocks blocks = ReadUnit(file, 0);
    blocks.hint = {"h"};
    Lines written = file;
    ASSERT_TRUE(Splice(written, "[[unitX", blocks).replaced);
    EXPECT_EQ(ReadUnitStrict(written, 0).blocks.kran, Lines(10, "0"));
}

TEST(QuestionFileRead, RepeatedSingleBlocksTheLastWinsInEveryReader) {
    // Reproducer: two "<<kgroup" blocks; the same for the other blocks that hold one value.
    const std::string bytes =
        "[[unit1\r\n<<ques\r\nA#a#\r\n>>\r\n<<kgroup\r\nx\r\n>>\r\n"
        "<<kgroup\r\ny\r\n>>\r\n]]\r\n";
    const Lines file = SplitLines(bytes);
    EXPECT_EQ(ReadUnit(file, 0).kgroup, Lines{"y"});
    EXPECT_EQ(ReadUnitStrict(file, 0).blocks.kgroup, Lines{"y"});
    const Lines fonts = Concat(
        {{"[[unit1", "<<font"}, Lines(7, "1"), {">>", "<<font"}, Lines(7, "2"), {">>", "]]"}});
    EXPECT_EQ(ReadUnit(fonts, 0).font, Lines(7, "2"));
    EXPECT_EQ(ReadUnitStrict(fonts, 0).blocks.font, Lines(7, "2"));
    const Lines keys = {"[[unit1",    "<<SoftKeyB", "k1.txt", ">>",
                        "<<SoftKeyB", "k2.txt",     ">>",     "]]"};
    EXPECT_EQ(ReadUnit(keys, 0).softKeyB, Lines{"k2.txt"});
    EXPECT_EQ(ReadUnitStrict(keys, 0).blocks.softKeyB, Lines{"k2.txt"});
    // List blocks still add up in both.
    const Lines graphs = {"[[unit1", "<<graph", "a", ">>", "<<graph", "b", ">>", "]]"};
    EXPECT_EQ(ReadUnit(graphs, 0).graph, (Lines{"a", "b"}));
    EXPECT_EQ(ReadUnitStrict(graphs, 0).blocks.graph, (Lines{"a", "b"}));
}

TEST(QuestionFileWrite, WrittenUnitReadsBackTheSame) {
    UnitBlocks blocks = FullBlocks();
    blocks.ques = Sjis({"表示 #ソ;答# です", "", "　"});  // 0x5C trail bytes, blank lines
    for (const UnitOrder order : {UnitOrder::Existing, UnitOrder::New}) {
        const Lines lines = UnitLines("[[unit3", blocks, order);
        EXPECT_EQ(ReadUnit(lines, 0), blocks);
        EXPECT_EQ(ReadUnitStrict(lines, 0).blocks, blocks);
        EXPECT_EQ(UnitEnd(lines, 0), lines.size());
    }
    EXPECT_EQ(LayoutTextLines(ReadLayoutText(DefaultLayoutLines())), DefaultLayoutLines());
}

}  // namespace
}  // namespace sulkan
