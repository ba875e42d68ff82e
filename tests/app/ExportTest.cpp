// "sulkan export": the sheet of a unit as an image file, without a window.
#include <gtest/gtest.h>

#include <QImage>
#include <QStandardPaths>
#include <cmath>
#include <fstream>
#include <iterator>
#include <regex>

#include "ExportCommand.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using test::TempDir;
using test::WriteSjisFile;

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        WriteSjisFile(dir.path() / "Main.ind", {"コース", "", "三年の漢字,kan3\\_kan3", ">>"});
        WriteSjisFile(dir.path() / "kan3" / "kan3.ind",
                      {"三年", "[[sect1", "読み", "<<", "山", "川", ">>", "]]"});
        std::vector<std::string> que;
        for (auto [header, paper] : {std::pair{"[[unit1", "630"}, std::pair{"[[unit2", "891"}}) {
            // clang-format off
            for (const char* l : {header, "<<ques", "（１）#やま#に登る", "（２）#かわ;せん#で遊ぶ", ">>",
                                  "<<value", paper, "False", "40", "5", "5", "1", "7", ">>",
                                  "<<font", "12", "MS 明朝", "False", "False", "False", "False",
                                  "0", ">>", "<<kran", "1", "15", "2", "0", "0", "0", "15", "10",
                                  "0", "0", ">>", "]]"})
                que.push_back(l);
            // clang-format on
        }
        for (const char* l : {"[[unit3", "<<ques", "#a#", ">>", "<<font", "12", ">>", "]]"})
            que.push_back(l);
        WriteSjisFile(dir.path() / "kan3" / "kan31.que", que);
    }
    void TearDown() override { QStandardPaths::setTestModeEnabled(false); }

    int Export(std::vector<std::string> extra, const std::string& unit = "1-1-1") {
        std::vector<std::string> args{"--course", dir.path().string(), "--unit", unit,
                                      "--out",    out.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunExportCommand(args, settings);
    }

    static int BluePixels(const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                QColor c = image.pixelColor(x, y);
                if (c.blue() > 150 && c.red() < 100 && c.green() < 100) ++n;
            }
        return n;
    }

    // The page sizes of a PDF file in points, page by page.
    static std::vector<std::pair<int, int>> PdfPages(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        const std::string pdf{std::istreambuf_iterator<char>(in), {}};
        static const std::regex box(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])");
        std::vector<std::pair<int, int>> pages;
        for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), box);
             it != std::sregex_iterator(); ++it)
            pages.emplace_back(std::lround(std::stod((*it)[1])), std::lround(std::stod((*it)[2])));
        return pages;
    }

    TempDir dir;
    MemorySettingsStore settings;
    std::filesystem::path out = dir.path() / "sheet.png";
    std::filesystem::path pdf = dir.path() / "sheets.pdf";
};

// Points; B5 and B4 are the JIS sizes (182 and 257 mm wide).
constexpr std::pair<int, int> kA4{595, 842}, kA3{842, 1191}, kB5{516, 729}, kB4{729, 1032};

TEST_F(ExportTest, QuestionSheetHasNoAnswersAndTheAnswerSheetHas) {
    ASSERT_EQ(Export({}), 0);
    QImage questions(QString::fromStdString(out.string()));
    EXPECT_EQ(questions.size(), QSize(630, 891));
    EXPECT_EQ(BluePixels(questions), 0);

    ASSERT_EQ(Export({"--answers"}), 0);
    QImage answers(QString::fromStdString(out.string()));
    EXPECT_GT(BluePixels(answers), 50);
}

TEST_F(ExportTest, ThePracticeSheetOfTheAnswerKanjiIsWrittenAsAPdf) {
    // clang-format off
    WriteSjisFile(dir.path() / "kan3" / "kan31.que",
                  {"[[unit1", "<<ques", "（１）#山#に登る", "（２）#川;かわ#で遊ぶ", "（３）#山林#",
                   ">>", "<<value", "771", "False", "40", "5", "5", "1", "7", ">>", "<<font", "12",
                   "MS 明朝", "False", "False", "False", "False", "0", ">>", "]]",
                   "[[unit2", "<<ques", "#やま#", ">>", "]]"});
    // clang-format on
    std::filesystem::remove(pdf);
    ASSERT_EQ(RunExportCommand({"--course", dir.path().string(), "--unit", "1-1-1", "--practice",
                                "--out", pdf.string()},
                               settings),
              0);
    // One page on the unit's own B4 paper: three kanji fit on it.
    EXPECT_EQ(PdfPages(pdf), (std::vector<std::pair<int, int>>{kB4}));

    // Kana answers only: nothing to practise, no file, and said as such rather than as a file
    // that could not be saved.
    std::filesystem::remove(pdf);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunExportCommand({"--course", dir.path().string(), "--unit", "1-1-2", "--practice",
                                "--out", pdf.string()},
                               settings),
              1);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("練習する漢字がありません"), std::string::npos) << said;
    EXPECT_EQ(said.find("保存できませんでした"), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(pdf));
    // Only as a PDF.
    EXPECT_EQ(Export({"--practice"}), 2);
}

TEST_F(ExportTest, PaperComesFromTheUnitUnlessNamed) {
    ASSERT_EQ(Export({}, "1-1-2"), 0);
    EXPECT_EQ(QImage(QString::fromStdString(out.string())).size(), QSize(891, 1260));
    ASSERT_EQ(Export({"--paper", "A4"}, "1-1-2"), 0);
    EXPECT_EQ(QImage(QString::fromStdString(out.string())).size(), QSize(630, 891));
    ASSERT_EQ(Export({"--paper", "B5"}), 0);
    EXPECT_EQ(QImage(QString::fromStdString(out.string())).size(), QSize(546, 772));
}

TEST_F(ExportTest, FailuresGiveAStatusAndWriteNothing) {
    EXPECT_EQ(Export({}, "1-1-9"), 1);        // not in the question file
    EXPECT_EQ(Export({}, "1-1-3"), 1);        // "<<font" of one line
    EXPECT_EQ(Export({"--paper", "C4"}), 2);  // no such paper
    EXPECT_EQ(RunExportCommand({"--unit", "1-1"}, settings), 2);
    EXPECT_FALSE(std::filesystem::exists(out));
    out = pdf;
    EXPECT_EQ(Export({}, "1-1-9"), 1);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(ExportTest, WrongNamesAndNumbersAreUsageErrorsAndWriteNothing) {
    for (const char* unit :
         {"99999999999-1-1", "1-99999999999", "81-1-1", "1-1-0", "1-1-1R0", "1-1-1R81"})
        EXPECT_EQ(Export({}, unit), 2) << unit;
    out = dir.path() / "sheet.txt";  // PNG bytes under another name
    EXPECT_EQ(Export({}), 2);
    EXPECT_EQ(Export({}), 2);
    EXPECT_FALSE(std::filesystem::exists(out));
    out = dir.path() / "sheet";
    EXPECT_EQ(Export({}), 2);
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(ExportTest, ABrokenUnitIsNamedWithItsReasonAndASectionGoesOn) {
    WriteSjisFile(dir.path() / "kan3" / "kan3.ind", {"三年", "[[sect1", "読み", "<<", "山",
                                                     "数でない", "川", "閉じない", ">>", "]]"});
    // Unit 2 has a layout line that is not a number: read with a warning. Unit 4's last block
    // never closes: it cannot be read at all.
    WriteSjisFile(
        dir.path() / "kan3" / "kan31.que",
        {"[[unit1", "<<ques", "#やま#",   ">>", "]]",                                    //
         "[[unit2", "<<ques", "#かわ#",   ">>", "<<value", "630", "False", "広い", "5",  //
         "5",       "1",      "7",        ">>", "]]",                                    //
         "[[unit3", "<<ques", "#はやし#", ">>", "]]",                                    //
         "[[unit4", "<<ques", "#もり#"});
    testing::internal::CaptureStderr();
    EXPECT_EQ(Export({}, "1-1-2"), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("単元 1-1-2: "), std::string::npos);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Export({}, "1-1-4"), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("単元 1-1-4: "), std::string::npos);
    out = pdf;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Export({}, "1-1"), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("単元 1-1-4: "), std::string::npos) << said;
    EXPECT_EQ(PdfPages(pdf), (std::vector{kA4, kA4, kA4, kA4, kA4, kA4}));  // the good units
}

TEST_F(ExportTest, APdfIsOnePageOfTheSheetsPaper) {
    out = pdf;
    ASSERT_EQ(Export({"--answers"}), 0);
    EXPECT_EQ(PdfPages(pdf), (std::vector{kA4}));
    ASSERT_EQ(Export({}, "1-1-2"), 0);
    EXPECT_EQ(PdfPages(pdf), (std::vector{kA3}));
    ASSERT_EQ(Export({"--paper", "B5"}, "1-1-2"), 0);
    EXPECT_EQ(PdfPages(pdf), (std::vector{kB5}));
}

TEST_F(ExportTest, ASectionGivesTheQuestionAndAnswerSheetOfEachUnitInOnePdf) {
    out = pdf;
    ASSERT_EQ(Export({}, "1-1"), 0);
    EXPECT_EQ(PdfPages(pdf), (std::vector{kA4, kA4, kA3, kA3}));

    // Units the index lists but the question file lacks or cannot give are named; the others
    // are still written.
    WriteSjisFile(dir.path() / "kan3" / "kan3.ind", {"三年", "[[sect1", "読み", "<<", "山", "川",
                                                     "壊れた単元", "ない単元", ">>", "]]"});
    testing::internal::CaptureStderr();
    EXPECT_EQ(Export({}, "1-1"), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("kan31.que-U4"), std::string::npos) << said;
    EXPECT_NE(said.find("<<font"), std::string::npos) << said;
    EXPECT_EQ(PdfPages(pdf), (std::vector{kA4, kA4, kA3, kA3}));

    EXPECT_EQ(Export({}, "1-2"), 1);   // no such section
    out = dir.path() / "section.png";  // a section needs pages
    EXPECT_EQ(Export({}, "1-1"), 2);
}

TEST_F(ExportTest, ACopyFileIsExportedAsItsOwnSheet) {
    std::filesystem::path copy = dir.path() / "まとめ.skn";
    std::vector<std::string> lines;
    for (auto block : {std::initializer_list<const char*>{"[[unitX", "<<header", "自作のまとめ",
                                                          "さくら塾", "", ">>"},
                       {"<<ques", "（１）#やま#に登る", "（２）#かわ#で遊ぶ", ">>", "<<ans", ">>"},
                       {"<<value", "771", "True", "40", "5", "5", "3", "7", ">>"},
                       {"<<font", "12", "MS 明朝", "False", "False", "False", "False", "0", ">>"},
                       {"<<kran", "1", "15", "2", "0", "0", "0", "15", "10", "0", "0", ">>"},
                       {"<<kgroup", ">>", "]]"}})
        lines.insert(lines.end(), block.begin(), block.end());
    WriteSjisFile(copy, lines);
    auto exportCopy = [&](std::vector<std::string> extra) {
        std::vector<std::string> args{"--course", dir.path().string(), "--copy", copy.string(),
                                      "--out",    out.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunExportCommand(args, settings);
    };

    ASSERT_EQ(exportCopy({"--answers"}), 0);
    QImage sheet(QString::fromStdString(out.string()));
    EXPECT_EQ(sheet.size(), QSize(771, 1090));
    EXPECT_GT(BluePixels(sheet), 50);
    out = pdf;
    ASSERT_EQ(exportCopy({}), 0);
    EXPECT_EQ(PdfPages(pdf), (std::vector{kB4}));

    EXPECT_EQ(exportCopy({"--unit", "1-1-1"}), 2);  // one source only
    copy = dir.path() / "none.skn";
    EXPECT_EQ(exportCopy({}), 1);
    WriteSjisFile(copy, {"[[unit1", "<<ques", "#a#", ">>", "]]"});  // not a copy file
    EXPECT_EQ(exportCopy({}), 1);
}

TEST_F(ExportTest, ACopyFileIsReadAsTheWindowReadsItAndSaidInItsWords) {
    auto exportCopy = [&](const std::filesystem::path& copy) {
        testing::internal::CaptureStderr();
        const int status = RunExportCommand(
            {"--course", dir.path().string(), "--copy", copy.string(), "--out", out.string()},
            settings);
        return std::pair{status, testing::internal::GetCapturedStderr()};
    };
    const std::filesystem::path unit = dir.path() / "unit.skn";
    WriteSjisFile(unit, {"[[unit1", "<<ques", "#a#", ">>", "]]"});
    auto [status, said] = exportCopy(unit);
    EXPECT_EQ(status, 1);
    EXPECT_NE(said.find("ファイル " + unit.string() +
                        " はコピーファイルではありません（[[unitX の行がありません）"),
              std::string::npos)
        << said;

    const std::filesystem::path damaged = dir.path() / "damaged.skn";
    WriteSjisFile(damaged, {"[[unitX", "<<ques", "#a#", ">>", "<<value", "630", "True"});
    std::tie(status, said) = exportCopy(damaged);
    EXPECT_EQ(status, 1);
    EXPECT_NE(said.find("<<value"), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(out));

    // A block given twice is read with the later one, said with the file's name, and exported.
    const std::filesystem::path twice = dir.path() / "twice.skn";
    WriteSjisFile(twice, {"[[unitX", "<<ques", "#a#", ">>", "<<value", "630",     "True", "40",
                          "5",       "5",      "1",   "7",  ">>",      "<<value", "771",  "True",
                          "40",      "5",      "5",   "1",  "7",       ">>",      "]]"});
    std::tie(status, said) = exportCopy(twice);
    EXPECT_EQ(status, 0) << said;
    EXPECT_EQ(said.rfind(twice.string() + ": ", 0), 0u) << said;
    EXPECT_NE(said.find("繰り返されています"), std::string::npos) << said;
    EXPECT_EQ(QImage(QString::fromStdString(out.string())).width(), 771);
}

}  // namespace
}  // namespace sulkan
