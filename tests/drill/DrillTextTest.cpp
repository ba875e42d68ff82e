// Text rules of the drill: alternatives, Enter, choices, soft keys, keyboard file names.
#include <gtest/gtest.h>

#include "DrillText.h"
#include "Sjis.h"

namespace sulkan {
namespace {

TEST(DrillText, AlternativesKeepEveryPieceUntrimmed) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitAlternatives(sjis("大;おお")), (V{sjis("大"), sjis("おお")}));
    EXPECT_EQ(SplitAlternatives(sjis("大")), (V{sjis("大")}));
    EXPECT_EQ(SplitAlternatives(sjis("大 ;")), (V{sjis("大 "), ""}));
}

TEST(DrillText, EnterTrimsAsciiBlanksAndWidensDigitsWithoutDroppingText) {
    EXPECT_EQ(EnteredAnswer("12"), sjis("１２"));
    EXPECT_EQ(EnteredAnswer(" x2\t"), std::string("x").append(sjis("２")));
    // A leading blank used to cost the learner the whole answer.
    EXPECT_EQ(EnteredAnswer(std::string(" ").append(sjis("大"))), sjis("大"));
    // 0x5C and digits as trail bytes stay inside their characters.
    EXPECT_EQ(EnteredAnswer(sjis("表ソ")), sjis("表ソ"));
}

TEST(DrillText, ChoicesAreSortedUniqueWithoutEmptyEntries) {
    EXPECT_EQ(PreparedChoices({"b", "", "a", "b", ""}), (std::vector<std::string>{"a", "b"}));
    std::vector<std::string> choices{"a", "b", "c", "d"};
    SeededRandom r1(3), r2(3);
    auto again = choices;
    ShuffleChoices(choices, r1);
    ShuffleChoices(again, r2);
    EXPECT_EQ(choices, again);  // the same seed, the same order
    std::sort(choices.begin(), choices.end());
    EXPECT_EQ(choices, (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(DrillText, KeysFromChoicesTakeDoubleByteCharactersUpTo120) {
    SoftKeys keys;
    keys.captions[5] = "old";
    SeededRandom random(1);
    LayKeysFromChoices(keys, {}, random);
    EXPECT_EQ(keys.captions[5], "old");  // no choices: keys left as they were

    std::string many;
    for (int i = 0; i < 130; ++i) many += sjis("あ");
    LayKeysFromChoices(keys, {std::string("a").append(sjis("山")), many}, random);
    int filled = 0, mountains = 0;
    for (int i = 1; i <= kSoftKeyCount; ++i) {
        filled += !keys.captions[i].empty();
        mountains += keys.captions[i] == sjis("山");
    }
    EXPECT_EQ(filled, kSoftKeyCount);
    EXPECT_EQ(mountains, 1);
    EXPECT_TRUE(keys.green);

    LayKeysFromChoices(keys, {sjis("川")}, random);
    EXPECT_EQ(keys.captions[1], sjis("川"));
    EXPECT_EQ(keys.captions[2], "");
}

TEST(DrillText, KeysFromFileFillInOrderAndKeepTheRest) {
    SoftKeys keys;
    keys.captions[4] = sjis("旧");
    LayKeysFromFile(keys, {sjis("山川"), "ab" + sjis("森")});
    EXPECT_EQ(keys.captions[1], sjis("山"));
    EXPECT_EQ(keys.captions[3], sjis("森"));
    EXPECT_EQ(keys.captions[4], sjis("旧"));
}

}  // namespace
}  // namespace sulkan
