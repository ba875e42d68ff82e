// The readings of the practice sheet: which reading the questions give each kanji, which one wins
// when several do, what gives none, and the question's own bytes.
#include <gtest/gtest.h>

#include "PracticeReadings.h"
#include "Sjis.h"

namespace sulkan {
namespace {

std::vector<std::string> Sjis(const std::vector<const char*>& utf8) {
    std::vector<std::string> out;
    for (const char* s : utf8) out.push_back(sjis(s));
    return out;
}

std::vector<std::string> ReadingsOf(const std::vector<const char*>& lines,
                                    const std::vector<const char*>& kanji) {
    return PracticeReadings(Sjis(lines), Sjis(kanji));
}

TEST(PracticeReadings, TheQuestionGivesTheReadingNextToTheBlank) {
    const std::vector<const char*> lines = {
        "１．次の<U>かたかな</>を漢字に直しなさい。",  // no blank: nothing to read
        "（1）毎日<U>べんきょう</>#　勉強　#する。",   // marked before a writing blank
        "（2）音楽の時間に<U>ふえ</>#　笛　#をふく。",
        "（3）川にかかる#　橋　#（はし）です。",  // in brackets after it
        "（4）（しま）#島#にわたる。",            // in brackets before it
        "（5）<U>駅</>#　えき#　の前で待つ。",    // a reading blank after the marked kanji
        "（6）<+>表<=>（#ひょう;おもて#　　）",   // after the kanji and a bracket: every reading
        "（7）#湖#（みずうみ）の#氷#（こおり）がとける。",  // two blanks on one line
        "（8）<B>ｶﾀ</>#形#　<U>ア</>#亜#",                  // half-width kana are not read
    };
    EXPECT_EQ(ReadingsOf(lines, {"勉", "強", "笛", "橋", "島", "駅", "表", "湖", "氷", "形", "亜"}),
              Sjis({"勉強（べんきょう）", "勉強（べんきょう）", "ふえ", "はし", "しま", "えき",
                    "ひょう・おもて", "みずうみ", "こおり", "", "ア"}));
}

TEST(PracticeReadings, TheKanjisOwnReadingWinsThenTheFirstQuestion) {
    const std::vector<const char*> lines = {
        "（1）<U>しゅくだい</>#宿題#をする。",
        "（2）<U>もんだい</>#問題#をとく。",
        "（3）<U>だい</>#題#を決める。",  // 題 alone, after two words holding it
        "（4）<U>宿</>#やど#に泊まる。",  // 宿 alone, from a reading blank
        "（5）<U>かわぎし</>#川岸#を歩く。",
        "（6）#岸#（きし）に着く。",
        "（7）<U>がんぺき</>#岸#",       // a second reading of 岸 alone: the first stays
        "（8）<U>にっき</>#日記;日誌#",  // each alternative's kanji: with its own word
    };
    EXPECT_EQ(ReadingsOf(lines, {"宿", "題", "問", "川", "岸", "記", "誌"}),
              Sjis({"やど", "だい", "問題（もんだい）", "川岸（かわぎし）", "きし",
                    "日記（にっき）", "日誌（にっき）"}));
}

TEST(PracticeReadings, NoReadingWhereTheQuestionDoesNotSayIt) {
    const std::vector<const char*> lines = {
        "（1）やまの#山#に登る。",      // kana before, neither marked nor in brackets
        "（2）<U>谷</>#川#が流れる。",  // a marked kanji before a writing blank
        "（3）毎日駅#えき#へ行く。",    // unmarked kanji before a reading blank
        "（4）<U>abc</>#森#",           // marked, but not kana
        "（5）#林#（はやし",            // an unclosed bracket
        "（6）#村#（むら。）",          // not kana only
        "（7）<U>うみ</>#海",           // a blank without its closing "#"
        "（8）<U>そら</>#　#",          // an empty answer
        "（9）<U>かぜ</>#風#",          // 風 is read; 雨 appears nowhere
        "",
    };
    EXPECT_EQ(ReadingsOf(lines, {"山", "川", "駅", "森", "林", "村", "海", "雨", "風"}),
              Sjis({"", "", "", "", "", "", "", "", "かぜ"}));
    EXPECT_TRUE(PracticeReadings({}, {}).empty());
    EXPECT_EQ(PracticeReadings({}, Sjis({"山"})), std::vector<std::string>{""});
}

TEST(PracticeReadings, TheReadingIsTheQuestionsOwnBytes) {
    // 表 (95 5C) and ソ (83 5C) end in the byte of "\"; 纊 (ED 40) is one of the NEC selected
    // codes that decode to a character encoding back otherwise; a byte that is no Shift-JIS
    // elsewhere in the line changes nothing.
    const std::string hyou = "\x95\x5C", so = "\x83\x5C", kou = "\xED\x40";
    const std::vector<std::string> lines = {
        sjis("（1）<U>") + so + sjis("ース</>#") + hyou + sjis("#") + "\xFF" + sjis("を見る。"),
        sjis("（2）<U>") + kou + sjis("</>#こう#"),
        sjis("（3）#") + hyou + sjis("面#（ひょうめん）"),
    };
    const std::vector<std::string> readings = PracticeReadings(lines, {hyou, kou, sjis("面")});
    ASSERT_EQ(readings.size(), 3u);
    EXPECT_EQ(readings[0], so + sjis("ース"));
    EXPECT_EQ(readings[1], sjis("こう"));
    EXPECT_EQ(readings[2], hyou + sjis("面（ひょうめん）"));
}

}  // namespace
}  // namespace sulkan
