// Text cells of the records CSV as a spreadsheet opens them, and the similar column of lines that
// do not read.
#include <gtest/gtest.h>

#include "RecordStore.h"
#include "Sjis.h"

namespace sulkan {
namespace {

TEST(RecordsCsv, TextThatASpreadsheetWouldConvertIsWrittenAsATextFormula) {
    // Formulas (the characters spreadsheets start formulas with, tab and line breaks included).
    EXPECT_EQ(CsvField("=1+1"), "\"=\"\"=1+1\"\"\"");
    EXPECT_EQ(CsvField("+A1"), "\"=\"\"+A1\"\"\"");
    EXPECT_EQ(CsvField("-2"), "\"=\"\"-2\"\"\"");
    EXPECT_EQ(CsvField("@SUM(A1)"), "\"=\"\"@SUM(A1)\"\"\"");
    EXPECT_EQ(CsvField("\t=1"), "\"=\"\"\t=1\"\"\"");
    EXPECT_EQ(CsvField("\r=1"), "\"=\"\"\r=1\"\"\"");
    // Numbers, dates and truth values that would lose their form.
    EXPECT_EQ(CsvField("0123"), "\"=\"\"0123\"\"\"");
    EXPECT_EQ(CsvField(" 0123 "), "\"=\"\" 0123 \"\"\"");
    EXPECT_EQ(CsvField("1/2"), "\"=\"\"1/2\"\"\"");
    EXPECT_EQ(CsvField("1e5"), "\"=\"\"1e5\"\"\"");
    EXPECT_EQ(CsvField("10月15日"), "\"=\"\"10月15日\"\"\"");
    EXPECT_EQ(CsvField("０１２"), "\"=\"\"０１２\"\"\"");
    EXPECT_EQ(CsvField("true"), "\"=\"\"true\"\"\"");
    // A quote inside is doubled once for the formula and once more for the CSV.
    EXPECT_EQ(CsvField("=\"a\""), "\"=\"\"=\"\"\"\"a\"\"\"\"\"\"\"");

    // Ordinary text stays as it is, quoted only for commas, quotes and line breaks.
    EXPECT_EQ(CsvField("太郎"), "太郎");
    EXPECT_EQ(CsvField("3年の漢字"), "3年の漢字");
    EXPECT_EQ(CsvField("OxOO"), "OxOO");
    EXPECT_EQ(CsvField("2003年10月17日 10:00 xx  0/ 2"), "2003年10月17日 10:00 xx  0/ 2");
    EXPECT_EQ(CsvField("my,copy.skn"), "\"my,copy.skn\"");
    EXPECT_EQ(CsvField("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(CsvField(""), "");
    EXPECT_EQ(CsvField("e"), "e");  // no digit: no number
}

TEST(RecordsCsv, LongTextFormulasAreJoinedFromPiecesOfAtMost255Characters) {
    const std::string text = "=" + std::string(299, 'a');
    const std::string field = CsvField(text);
    EXPECT_EQ(field,
              "\"=\"\"=" + std::string(254, 'a') + "\"\"&\"\"" + std::string(45, 'a') + "\"\"\"");
    // Pieces count characters, not bytes: a multi-byte character is never split.
    std::string kanji = "=";
    for (int i = 0; i < 300; ++i) kanji += "字";
    const std::string f = CsvField(kanji);
    const std::size_t cut = f.find("\"\"&\"\"");
    ASSERT_NE(cut, std::string::npos);
    EXPECT_EQ(f.substr(4, cut - 4), kanji.substr(0, 1 + 254 * 3));
    EXPECT_EQ(f.find("\"\"&\"\"", cut + 1), std::string::npos);  // 301 characters: two pieces

    // 255 characters fit one literal; the 256th starts a second one.
    const std::string fits = "=" + std::string(254, 'b');
    EXPECT_EQ(CsvField(fits), "\"=\"\"" + fits + "\"\"\"");
    EXPECT_EQ(CsvField(fits + "c"), "\"=\"\"" + fits + "\"\"&\"\"c\"\"\"");
    // A quote is one character of the text: its doubling stays whole in the piece it starts.
    const std::string quoteLast = "=" + std::string(253, 'b') + "\"x";
    EXPECT_EQ(CsvField(quoteLast), "\"=\"\"=" + std::string(253, 'b') + "\"\"\"\"\"\"&\"\"x\"\"\"");
    const std::string quoteFirst = "=" + std::string(254, 'b') + "\"";
    EXPECT_EQ(CsvField(quoteFirst), "\"=\"\"" + fits + "\"\"&\"\"\"\"\"\"\"\"\"");
}

TEST(RecordsCsv, RowsKeepNumbersAsNumbersAndProtectOnlyTextColumns) {
    std::vector<CsvRecord> records = {
        {sjis("0123"), 1, 1, 2, sjis("=1+1"), 1,
         sjis("2003年10月15日 14:05 OxOO  3/ 4  75点 01:23")},
        {sjis("@x"), 1, 0, 0, sjis("-copy.skn"), 2,
         sjis("類題2)2003年10月16日 09:00 O  1/ 1 100点 00:40")},
        {"taro", 1, 1, 2, "t", 3, "broken"},
        {"taro", 1, 1, 2, "t", 4, sjis("類題3)garbage")},
        {"taro", 1, 1, 2, "t", 5, sjis("2003年10月17日 10:00 xx  0/ 2")},
        {"taro", 1, 1, 2, "t", 6, "=cmd|' /C calc'!A0"},
    };
    const CsvText csv = RecordsCsv(records);
    EXPECT_EQ(csv.unparsed, 4);
    EXPECT_EQ(csv.bytes,
              "\xEF\xBB\xBFlearner,lesson,section,unit,similar,title,run,date,time,marks,correct,"
              "total,score,seconds,raw\r\n"
              "\"=\"\"0123\"\"\",1,1,2,0,\"=\"\"=1+1\"\"\",1,2003-10-15,14:05,OxOO,3,4,75,83,\r\n"
              "\"=\"\"@x\"\"\",1,,,2,\"=\"\"-copy.skn\"\"\",2,2003-10-16,09:00,O,1,1,100,40,\r\n"
              // Nothing read: whether it was a similar problem is unknown, so the cell is empty.
              "taro,1,1,2,,t,3,,,,,,,,broken\r\n"
              // The prefix was read: its number is known.
              "taro,1,1,2,3,t,4,,,,,,,,類題3)garbage\r\n"
              // The date was read, so there was no prefix.
              "taro,1,1,2,0,t,5,2003-10-17,10:00,xx,0,,,,2003年10月17日 10:00 xx  0/ 2\r\n"
              "taro,1,1,2,,t,6,,,,,,,,\"=\"\"=cmd|' /C calc'!A0\"\"\"\r\n");

    const ExportTable table = RecordsTable(records);
    ASSERT_EQ(table.rows.size(), 6u);
    EXPECT_EQ(table.rows[0].learner, "0123");  // the table holds the text itself
    EXPECT_EQ(table.rows[1].section, -1);
    EXPECT_EQ(table.rows[0].raw, "");  // raw only for lines that did not read
    EXPECT_EQ(table.rows[2].raw, "broken");
}

}  // namespace
}  // namespace sulkan
