// Record appends for unit titles as teachers write them: brackets, the duplicate double-byte
// codes a Windows machine may re-spell, and the one kind of title a record file cannot hold.
#include <gtest/gtest.h>

#include "Sjis.h"
#include "StudyRecord.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using Lines = std::vector<std::string>;

TEST(RecordRefusal, TitlesWithBracketsKeepTheirRecords) {
    test::TempDir dir;
    const std::string path = dir.folder() + "taro.ini";
    for (const std::string title : {"S11まとめ[1]", "S12くらしの中の漢字[読み]", "S13]", "S14[["}) {
        ProfileRecordSink sink(path, sjis(title));
        ASSERT_TRUE(sink.append(sjis("一回目"))) << title;
        const Result<> second = sink.append(sjis("二回目"));
        ASSERT_TRUE(second) << second.problem().message;
        EXPECT_EQ(sink.lines(), (Lines{sjis("一回目"), sjis("二回目")})) << title;
    }
    EXPECT_EQ(test::ReadRawFile(dir.path() / "taro.ini"),
              sjis("[S11まとめ[1]]\r\n1=一回目\r\n2=二回目\r\n"
                   "[S12くらしの中の漢字[読み]]\r\n1=一回目\r\n2=二回目\r\n"
                   "[S13]]\r\n1=一回目\r\n2=二回目\r\n"
                   "[S14[[]\r\n1=一回目\r\n2=二回目\r\n"));
}

TEST(RecordRefusal, ATitleReSpelledByAnotherMachineStaysOneSection) {
    test::TempDir dir;
    // 髙 as FBFC, the code a Windows machine writes, in a file this program began with EEE0.
    test::WriteRawFile(dir.path() / "taro.ini", "[S11\xFB\xFC\x8B\xB4]\r\n1=a\r\n2=b\r\n");
    ProfileRecordSink sink(dir.folder() + "taro.ini", "S11\xEE\xE0\x8B\xB4");
    EXPECT_EQ(sink.lines(), (Lines{"a", "b"}));
    ASSERT_TRUE(sink.append("c"));
    EXPECT_EQ(sink.lines(), (Lines{"a", "b", "c"}));
    EXPECT_EQ(test::ReadRawFile(dir.path() / "taro.ini"),
              "[S11\xFB\xFC\x8B\xB4]\r\n1=a\r\n2=b\r\n3=c\r\n");
}

TEST(RecordRefusal, ATitleEndingInHalfACharacterIsAFailureAndTouchesNothing) {
    test::TempDir dir;
    test::WriteSjisFile(dir.path() / "taro.ini", {"[S11a]", "1=x"});
    const std::string before = test::ReadRawFile(dir.path() / "taro.ini");
    ProfileRecordSink sink(dir.folder() + "taro.ini", sjis("S12漢") + "\x8A");
    const Result<> saved = sink.append("line");
    EXPECT_FALSE(saved);
    EXPECT_NE(saved.problem().message.find(dir.folder() + "taro.ini"), std::string::npos)
        << saved.problem().message;
    EXPECT_NE(saved.problem().message.find(sjis("終わりの文字が欠けています")), std::string::npos);
    EXPECT_EQ(test::ReadRawFile(dir.path() / "taro.ini"), before);
}

}  // namespace
}  // namespace sulkan
