// Kanji: which CP932 characters are kanji, stroke counts read from kanjidic lines, and the
// stroke-order face found or missing.
#include <gtest/gtest.h>

#include <thread>

#include "Kanji.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

TEST(Kanji, KanjiAreToldFromKanaDigitsAndSymbols) {
    for (const char* k : {"亜", "山", "森", "熙", "弌", "纊", "鸙", "髙"})
        EXPECT_TRUE(IsKanji(sjis(k))) << k;
    for (const char* c : {"あ", "ア", "々", "０", "ー", "〆", "①", "ⅰ", "＃", "ｱ", "a", ""})
        EXPECT_FALSE(IsKanji(sjis(c))) << c;
    EXPECT_FALSE(IsKanji("\x88"));  // a lead byte alone
    EXPECT_TRUE(HasKanji(sjis("やま山")));
    EXPECT_FALSE(HasKanji(sjis("やま１２")));
    EXPECT_FALSE(HasKanji(""));
}

TEST(Kanji, StrokeCountsComeFromTheFirstStrokeFieldOfEachEntry) {
    // 山 3 strokes; 森 12 (a second S field is a common miscount); 亜 with a CR line end; a
    // header, a line with a bad code and one without an S field are passed over.
    const std::string text =
        "# KANJIDIC JIS X 0208 Kanji Information File/\n"
        "\xBB\xB3 3B33 U5c71 B46 G1 S3 Yshan1 {mountain}\n"
        "\xBF\xB9 3F39 U68ee B75 G1 S12 S13 F609 {forest}\n"
        "\xB0\xA1 3021 U4e9c B1 C7 G8 S7\r\n"
        "\xCE\xD3 4G53 U6797 S8\n"
        "\xC0\xEE 406E U5ddd B47 SX {river}\n"
        "\xEA\xA4 7426 U7199 S13";
    const StrokeCounts counts = StrokeCounts::Parse(text);
    EXPECT_EQ(counts.size(), 4u);
    EXPECT_EQ(counts.of(sjis("山")), 3);
    EXPECT_EQ(counts.of(sjis("森")), 12);
    EXPECT_EQ(counts.of(sjis("亜")), 7);
    EXPECT_EQ(counts.of(sjis("熙")), 13);  // the last line, without a line break
    EXPECT_FALSE(counts.of(sjis("林")).has_value());
    EXPECT_FALSE(counts.of(sjis("川")).has_value());
    EXPECT_FALSE(counts.of("a").has_value());
    EXPECT_EQ(StrokeCounts::Parse("").size(), 0u);
}

TEST(Kanji, TheInstalledKanjidicGivesTheSchoolKanjiTheirCounts) {
    const StrokeCounts& installed = StrokeCounts::Installed();
    if (installed.size() == 0) GTEST_SKIP() << "no kanjidic at " << kKanjidicPath;
    EXPECT_GT(installed.size(), 6000u);
    EXPECT_EQ(installed.of(sjis("一")), 1);
    EXPECT_EQ(installed.of(sjis("森")), 12);
    EXPECT_EQ(installed.of(sjis("警")), 19);
    EXPECT_EQ(installed.of(sjis("熙")), 15);
}

// Entries in kanjidic's own form: 山 3 strokes, 森 12.
const std::string kYama = "\xBB\xB3 3B33 U5c71 B46 G1 S3 {mountain}\n";
const std::string kMori = "\xBF\xB9 3F39 U68ee B75 G1 S12 {forest}\n";
const std::string kTwoEntries = kYama + kMori;

TEST(Kanji, AFileReadInTheBackgroundGivesEveryThreadTheSameCounts) {
    test::TempDir dir;
    const std::string path = dir.folder() + "kanjidic";
    test::WriteRawFile(dir.path() / "kanjidic", kTwoEntries);
    StrokeCountsFile file(path);
    EXPECT_FALSE(file.started());
    file.start();
    EXPECT_TRUE(file.started());
    file.start();  // a second start reads nothing again
    const StrokeCounts* seen[2] = {nullptr, nullptr};
    std::thread other([&] { seen[1] = &file.counts(); });
    seen[0] = &file.counts();
    other.join();
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(seen[0]->size(), 2u);
    EXPECT_EQ(seen[0]->of(sjis("森")), 12);

    // Asked for without a start: read then, once, for both threads.
    StrokeCountsFile late(path);
    std::thread first([&] { seen[0] = &late.counts(); });
    std::thread second([&] { seen[1] = &late.counts(); });
    first.join();
    second.join();
    EXPECT_TRUE(late.started());
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(seen[1]->of(sjis("山")), 3);
}

TEST(Kanji, AMissingOrDamagedKanjidicGivesNoCounts) {
    test::TempDir dir;
    test::WriteRawFile(dir.path() / "garbage",
                       std::string("\xBB\xB3 \x00\xFF S3\n\n\xFE", 12) + std::string(5000, '\xA4'));
    test::WriteRawFile(dir.path() / "empty", "");
    for (const std::string name : {"none", "garbage", "empty", ""}) {
        SCOPED_TRACE(name);
        StrokeCountsFile file(dir.folder() + name);  // "" names the folder itself
        EXPECT_EQ(file.counts().size(), 0u);
        EXPECT_FALSE(file.counts().of(sjis("山")).has_value());
    }
    // The first field after a damaged entry still counts.
    test::WriteRawFile(dir.path() / "half", "\xBB\xB3 3B33 U5c71 S\n" + kMori);
    EXPECT_EQ(StrokeCountsFile(dir.folder() + "half").counts().of(sjis("森")), 12);
}

TEST(Kanji, TheStrokeOrderFaceIsOnlyNamedWhenTheLookupFindsIt) {
    std::string asked;
    SetFontLookup([&](const std::string& family) {
        asked = family;
        return false;
    });
    EXPECT_EQ(StrokeOrderFontFamily(), "");
    EXPECT_EQ(asked, kStrokeOrderFontFamily);
    SetFontLookup([](const std::string&) { return true; });
    EXPECT_EQ(StrokeOrderFontFamily(), kStrokeOrderFontFamily);
    SetFontLookup({});
}

}  // namespace
}  // namespace sulkan
