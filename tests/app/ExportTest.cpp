// "sulkan export": the sheet of a unit as an image file, without a window.
#include <gtest/gtest.h>

#include <QImage>
#include <QStandardPaths>

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
            for (const char* l : {header, "<<ques", "（１）#やま#に登る", "（２）#かわ;せん#で遊ぶ", ">>",
                                  "<<value", paper, "False", "40", "5", "5", "1", "7", ">>",
                                  "<<font", "12", "MS 明朝", "False", "False", "False", "False",
                                  "0", ">>", "<<kran", "1", "15", "2", "0", "0", "0", "15", "10",
                                  "0", "0", ">>", "]]"})
                que.push_back(l);
        }
        for (const char* l : {"[[unit3", "<<ques", "#a#", ">>", "<<font", "12", ">>", "]]"})
            que.push_back(l);
        WriteSjisFile(dir.path() / "kan3" / "kan31.que", que);
    }
    void TearDown() override { QStandardPaths::setTestModeEnabled(false); }

    int Export(std::vector<std::string> extra, const std::string& unit = "1-1-1") {
        std::vector<std::string> args{"--course", dir.path().string(), "--unit", unit,
                                      "--out", out.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunExportCommand(args);
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

    TempDir dir;
    std::filesystem::path out = dir.path() / "sheet.png";
};

TEST_F(ExportTest, QuestionSheetHasNoAnswersAndTheAnswerSheetHas) {
    ASSERT_EQ(Export({}), 0);
    QImage questions(QString::fromStdString(out.string()));
    EXPECT_EQ(questions.size(), QSize(630, 891));
    EXPECT_EQ(BluePixels(questions), 0);

    ASSERT_EQ(Export({"--answers"}), 0);
    QImage answers(QString::fromStdString(out.string()));
    EXPECT_GT(BluePixels(answers), 50);
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
    EXPECT_EQ(RunExportCommand({"--unit", "1-1"}), 2);
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace sulkan
