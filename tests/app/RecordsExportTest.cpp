// The records spreadsheet as a spreadsheet program reads it: the sheet's cells taken back out of
// the written file, and the files "sulkan records" leaves behind when a write fails.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <cmath>
#include <cstring>
#include <map>
#include <regex>
#include <sstream>

#include "RecordsCommand.h"
#include "RecordsXlsx.h"
#include "SettingsStore.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

namespace fs = std::filesystem;
using test::WriteSjisFile;

// One member of the workbook, as unzip prints it; nullopt when unzip fails.
std::optional<std::string> Member(const fs::path& book, const std::string& member) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"),
                {QStringLiteral("-p"), QString::fromStdString(book.string()),
                 QString::fromStdString(member)});
    if (!unzip.waitForFinished(30000) || unzip.exitStatus() != QProcess::NormalExit ||
        unzip.exitCode() != 0)
        return std::nullopt;
    return unzip.readAllStandardOutput().toStdString();
}

std::string Unescaped(std::string text) {
    static const std::pair<const char*, const char*> kEntities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, plain] : kEntities)
        for (std::size_t at; (at = text.find(entity)) != std::string::npos;)
            text.replace(at, std::strlen(entity), plain);
    return text;
}

// A cell of the sheet: its type attribute, its style index, and its value (the text itself for
// shared and inline strings).
struct Cell {
    std::string type;
    int style = 0;
    std::string value;
    bool preserve = false;  // xml:space="preserve" on its text
};

class Sheet {
public:
    static std::optional<Sheet> Read(const fs::path& book) {
        const auto xml = Member(book, "xl/worksheets/sheet1.xml");
        const auto styles = Member(book, "xl/styles.xml");
        if (!xml || !styles) return std::nullopt;
        Sheet sheet;
        std::vector<std::pair<std::string, bool>> shared;  // text, blanks preserved
        if (const auto strings = Member(book, "xl/sharedStrings.xml")) {
            static const std::regex si(R"(<si>\s*<t([^>]*)>([^<]*)</t>\s*</si>)");
            for (std::sregex_iterator it(strings->begin(), strings->end(), si), end; it != end;
                 ++it)
                shared.emplace_back(
                    Unescaped((*it)[2]),
                    (*it)[1].str().find("xml:space=\"preserve\"") != std::string::npos);
        }
        static const std::regex cell(R"re(<c r="([A-Z]+[0-9]+)"([^>]*?)(?:/>|>(.*?)</c>))re");
        static const std::regex type(R"re(\bt="([a-zA-Z]+)")re"), style(R"re(\bs="([0-9]+)")re");
        static const std::regex value(R"(<v>([^<]*)</v>)"), inlineText(R"(<t([^>]*)>([^<]*)</t>)");
        for (std::sregex_iterator it(xml->begin(), xml->end(), cell), end; it != end; ++it) {
            Cell c;
            const std::string attributes = (*it)[2], body = (*it)[3];
            std::smatch m;
            if (std::regex_search(attributes, m, type)) c.type = m[1];
            if (std::regex_search(attributes, m, style)) c.style = std::stoi(m[1]);
            if (c.type == "inlineStr" && std::regex_search(body, m, inlineText)) {
                c.value = Unescaped(m[2]);
                c.preserve = m[1].str().find("xml:space=\"preserve\"") != std::string::npos;
            } else if (std::regex_search(body, m, value)) {
                c.value = Unescaped(m[1]);
                if (c.type == "s") {
                    const std::size_t index = std::stoul(c.value);
                    c.value = index < shared.size() ? shared[index].first : "<bad shared string>";
                    c.preserve = index < shared.size() && shared[index].second;
                }
            }
            sheet.m_cells[(*it)[1]] = c;
        }
        // The number format of each cell style, by the style's index in cellXfs.
        std::map<int, std::string> formats = {{14, "m/d/yyyy"}, {20, "h:mm"}};
        static const std::regex numFmt(R"re(<numFmt numFmtId="([0-9]+)" formatCode="([^"]*)")re");
        for (std::sregex_iterator it(styles->begin(), styles->end(), numFmt), end; it != end; ++it)
            formats[std::stoi((*it)[1])] = Unescaped((*it)[2]);
        const std::size_t xfs = styles->find("<cellXfs");
        static const std::regex xf(R"re(<xf numFmtId="([0-9]+)")re");
        if (xfs != std::string::npos)
            for (std::sregex_iterator
                     it(styles->begin() + static_cast<std::ptrdiff_t>(xfs), styles->end(), xf),
                 end;
                 it != end; ++it)
                sheet.m_styleFormats.push_back(formats[std::stoi((*it)[1])]);
        return sheet;
    }

    bool has(const std::string& ref) const { return m_cells.count(ref) > 0; }
    Cell at(const std::string& ref) const {
        const auto it = m_cells.find(ref);
        return it == m_cells.end() ? Cell{"<missing>", 0, ""} : it->second;
    }
    bool isText(const std::string& ref) const {
        const std::string t = at(ref).type;
        return t == "s" || t == "inlineStr" || t == "str";
    }
    bool isNumber(const std::string& ref) const {
        return has(ref) && (at(ref).type.empty() || at(ref).type == "n");
    }
    std::string format(const std::string& ref) const {
        const auto s = static_cast<std::size_t>(at(ref).style);
        return s < m_styleFormats.size() ? m_styleFormats[s] : std::string();
    }
    bool preservesSpace(const std::string& ref) const { return at(ref).preserve; }

private:
    std::map<std::string, Cell> m_cells;
    std::vector<std::string> m_styleFormats;
};

bool UnzipMissing() {
    return QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty();
}

// Files beside the target or in the temporary folder that a write made and did not remove.
std::vector<std::string> Leftovers(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    return names;
}

// This process's workbooks in the making, which the writer keeps in the temporary folder.
int ScratchFiles() {
    const std::string prefix =
        "sulkan-records-" + std::to_string(QCoreApplication::applicationPid()) + "-";
    int n = 0;
    for (const std::string& name : Leftovers(fs::temp_directory_path()))
        if (name.starts_with(prefix)) ++n;
    return n;
}

ExportRow Row(const std::string& learner, const std::string& title) {
    ExportRow r;
    r.learner = learner;
    r.title = title;
    r.marks = "OxOO";
    r.lesson = 1;
    r.section = 1, r.unit = 2, r.similar = 0, r.run = 3;
    r.year = 2003, r.month = 10, r.day = 15, r.hour = 14, r.minute = 5;
    r.correct = 3, r.total = 4, r.score = 75, r.seconds = 83;
    r.parsed = true;
    return r;
}

TEST(RecordsXlsx, TextStaysTextAndNumbersDatesAndTimesAreTyped) {
    if (UnzipMissing()) GTEST_SKIP() << "unzip is not installed";
    test::TempDir dir;
    ExportTable table;
    table.rows.push_back(Row("0123", "=1+1"));
    table.rows.push_back(Row("山田太郎", "-copy.skn"));
    table.rows.back().section = -1, table.rows.back().unit = -1;
    // A date that is no real day stays text rather than becoming another day.
    table.rows.back().month = 2, table.rows.back().day = 30;
    const fs::path book = dir.path() / "records.xlsx";
    const XlsxResult written = WriteRecordsXlsx(book.string(), table);
    ASSERT_FALSE(written.problem) << written.problem->message;
    EXPECT_EQ(written.cutCells, 0);

    const auto sheet = Sheet::Read(book);
    ASSERT_TRUE(sheet) << "the workbook does not unpack";
    // The header is text, without a raw column when every line read.
    EXPECT_TRUE(sheet->isText("A1"));
    EXPECT_EQ(sheet->at("A1").value, "learner");
    EXPECT_EQ(sheet->at("N1").value, "seconds");
    EXPECT_FALSE(sheet->has("O1"));

    EXPECT_TRUE(sheet->isText("A2"));
    EXPECT_EQ(sheet->at("A2").value, "0123");
    EXPECT_TRUE(sheet->isText("F2"));
    EXPECT_EQ(sheet->at("F2").value, "=1+1");
    EXPECT_TRUE(sheet->isText("J2"));
    EXPECT_EQ(sheet->at("J2").value, "OxOO");
    EXPECT_TRUE(sheet->isText("A3"));
    EXPECT_EQ(sheet->at("A3").value, "山田太郎");
    EXPECT_EQ(sheet->at("F3").value, "-copy.skn");
    for (const char* ref : {"A2", "F2", "A3", "F3"})
        EXPECT_NE(sheet->at(ref).type, "str") << ref << " is a formula";

    for (const auto& [ref, value] :
         std::vector<std::pair<std::string, std::string>>{{"B2", "1"},
                                                          {"C2", "1"},
                                                          {"D2", "2"},
                                                          {"E2", "0"},
                                                          {"G2", "3"},
                                                          {"K2", "3"},
                                                          {"L2", "4"},
                                                          {"M2", "75"},
                                                          {"N2", "83"}}) {
        EXPECT_TRUE(sheet->isNumber(ref)) << ref;
        EXPECT_EQ(sheet->at(ref).value, value) << ref;
    }
    // Copy files have no section or unit: empty cells, not zeros.
    EXPECT_FALSE(sheet->has("C3"));
    EXPECT_FALSE(sheet->has("D3"));

    // 2003-10-15 is day 37909 of the spreadsheet calendar; 14:05 is 845 of 1440 minutes.
    EXPECT_TRUE(sheet->isNumber("H2"));
    EXPECT_EQ(sheet->at("H2").value, "37909");
    EXPECT_NE(sheet->format("H2").find("yy"), std::string::npos) << sheet->format("H2");
    EXPECT_NE(sheet->format("H2").find("d"), std::string::npos) << sheet->format("H2");
    EXPECT_TRUE(sheet->isNumber("I2"));
    EXPECT_NEAR(std::stod(sheet->at("I2").value), 845.0 / 1440.0, 1e-9);
    EXPECT_NE(sheet->format("I2").find("mm"), std::string::npos) << sheet->format("I2");
    EXPECT_EQ(sheet->format("I2").find("d"), std::string::npos) << sheet->format("I2");
    EXPECT_TRUE(sheet->isText("H3"));
    EXPECT_EQ(sheet->at("H3").value, "2003-02-30");
}

TEST(RecordsXlsx, LinesThatDidNotReadKeepTheirTextInTheRawColumn) {
    if (UnzipMissing()) GTEST_SKIP() << "unzip is not installed";
    test::TempDir dir;
    ExportTable table;
    table.rows.push_back(Row("taro", "t"));
    ExportRow broken;
    broken.learner = "taro", broken.title = "t", broken.lesson = 1, broken.run = 4;
    broken.section = 1, broken.unit = 2;
    broken.raw = " =cmd|' /C calc'!A0 & <b>  ";
    table.rows.push_back(broken);
    table.unparsed = 1;
    const fs::path book = dir.path() / "raw.xlsx";
    ASSERT_FALSE(WriteRecordsXlsx(book.string(), table).problem);
    const auto sheet = Sheet::Read(book);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->at("O1").value, "raw");
    EXPECT_FALSE(sheet->has("O2"));
    EXPECT_TRUE(sheet->isText("O3"));
    EXPECT_EQ(sheet->at("O3").value, " =cmd|' /C calc'!A0 & <b>  ");
    // Blanks at either end are kept by every reader only when the cell says so.
    EXPECT_TRUE(sheet->preservesSpace("O3"));
    // Nothing was read of it: no similar, no date, no numbers.
    EXPECT_FALSE(sheet->has("E3"));
    EXPECT_FALSE(sheet->has("H3"));
    EXPECT_FALSE(sheet->has("M3"));
}

class RecordsFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSjisFile(course.path() / "Main.ind",
                      {"漢字のコース", "メモ", "三年の漢字,kan3\\_k3", ">>"});
        WriteSjisFile(course.path() / "kan3" / "k3.ind",
                      {"三年", "[[sect1", "読み", "<<", "=1+1", "旅行", ">>", "]]"});
        WriteSjisFile(course.path() / "kan3" / "0123.ini",
                      {"[S11=1+1]", "1=2003年10月15日 14:05 OxOO  3/ 4  75点 01:23"});
        WriteSjisFile(course.path() / "kan3" / "山田.ini",
                      {"[S12旅行]", "1=2003年10月17日 10:00 xx  0/ 2   0点 00:40"});
        settings.values[{SettingsKey::Shared, "RecDrive"}] = records.folder();
    }

    int run(std::vector<std::string> extra) {
        std::vector<std::string> args{"--course", course.path().string(), "--lesson", "1"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::ostringstream o, e;
        const int status = RunRecordsCommand(args, settings, o, e);
        out = o.str();
        err = e.str();
        return status;
    }

    test::TempDir course, records, target;
    MemorySettingsStore settings;
    std::string out, err;
};

TEST_F(RecordsFilesTest, CsvAndSpreadsheetTogetherHoldTheSameRows) {
    if (UnzipMissing()) GTEST_SKIP() << "unzip is not installed";
    const fs::path csv = target.path() / "r.csv", book = target.path() / "r.xlsx";
    ASSERT_EQ(run({"--out", csv.string(), "--xlsx", book.string()}), 0) << err;
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
    const std::string csvBytes = test::ReadRawFile(csv);
    ASSERT_EQ(run({}), 0);
    EXPECT_EQ(csvBytes, out);  // the file holds what the command prints without --out
    EXPECT_NE(csvBytes.find("\"=\"\"0123\"\"\",1,1,1,0,\"=\"\"=1+1\"\"\",1,2003-10-15,14:05,"),
              std::string::npos)
        << csvBytes;

    const auto sheet = Sheet::Read(book);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->at("A2").value, "0123");
    EXPECT_EQ(sheet->at("F2").value, "=1+1");
    EXPECT_EQ(sheet->at("A3").value, "山田");
    EXPECT_EQ(sheet->at("F3").value, "旅行");
    EXPECT_EQ(sheet->at("H3").value, "37911");
    EXPECT_EQ(sheet->at("M3").value, "0");
    EXPECT_FALSE(sheet->has("A4"));
    // Only the two files asked for: no temporary file beside them.
    EXPECT_EQ(Leftovers(target.path()).size(), 2u);
}

TEST_F(RecordsFilesTest, AFailedWriteNamesTheFileLeavesNothingAndStillWritesTheOther) {
    const fs::path missing = target.path() / "no such folder" / "r.xlsx";
    const fs::path csv = target.path() / "r.csv";
    EXPECT_EQ(run({"--xlsx", missing.string(), "--out", csv.string()}), 1);
    EXPECT_NE(err.find("ファイル " + missing.string() + " を保存できませんでした"),
              std::string::npos)
        << err;
    EXPECT_FALSE(fs::exists(missing.parent_path()));
    EXPECT_EQ(ScratchFiles(), 0);
    // The CSV asked for beside it is written all the same.
    EXPECT_NE(test::ReadRawFile(csv).find("山田"), std::string::npos);

    // A folder where the file should go: refused, and the folder is as it was.
    const fs::path occupied = target.path() / "taken.xlsx";
    fs::create_directory(occupied);
    WriteSjisFile(occupied / "keep.txt", {"keep"});
    EXPECT_EQ(run({"--xlsx", occupied.string()}), 1);
    EXPECT_NE(err.find(occupied.string()), std::string::npos) << err;
    EXPECT_NE(err.find("を保存できませんでした"), std::string::npos) << err;
    EXPECT_EQ(out, "");  // a spreadsheet was asked for, not the CSV on standard output
    EXPECT_EQ(Leftovers(occupied), std::vector<std::string>{"keep.txt"});
    EXPECT_EQ(Leftovers(target.path()).size(), 2u);  // r.csv and the folder, no temporary file

    // The CSV file itself refused.
    EXPECT_EQ(run({"--out", (target.path() / "none" / "r.csv").string()}), 1);
    EXPECT_NE(err.find("none/r.csv を保存できませんでした"), std::string::npos) << err;
}

// Standard output that takes nothing, as a full disk or a closed pipe does.
class RefusingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST_F(RecordsFilesTest, StandardOutputThatTakesNothingIsAFailure) {
    RefusingBuffer refusing;
    std::ostream full(&refusing);
    std::ostringstream e;
    const int status =
        RunRecordsCommand({"--course", course.path().string(), "--lesson", "1"}, settings, full, e);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(e.str(), "記録を標準出力に書き込めませんでした\n");
}

}  // namespace
}  // namespace sulkan
