// Text rules of the drill: alternatives of an answer, what Enter makes of a typed answer, how an
// answer is compared, the choice list, the soft-keyboard captions and the praise words. Texts are
// CP932 bytes.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "DrillRandom.h"

namespace sulkan {

// The answer cut at every ";", pieces in order and untrimmed: "a;b" gives two, "a;" gives "a"
// and an empty last piece.
std::vector<std::string> SplitAlternatives(std::string_view answerText);

// What Enter leaves in an answer box: ASCII blanks and control characters cut at both ends and
// every half-width digit turned into its full-width form. Nothing the learner typed is dropped.
std::string EnteredAnswer(std::string_view boxText);

// The form in which answers are compared: trimmed with TrimWide, half-width digits made
// full-width as Enter makes them, and the duplicate CP932 spellings of a character made one. So
// an answer compares the same whether it was confirmed with Enter or not.
std::string ComparableAnswer(std::string_view text);

// Whether answer is one of the alternatives, both in their comparable forms and compared byte
// for byte. An empty alternative matches nothing.
bool MatchesAlternative(std::string_view answer, const std::vector<std::string>& alternatives);

// The message that refuses an answer holding a character CP932 cannot hold, naming its code
// (the character itself cannot be put into a CP932 message).
std::string UnusableCharacterMessage(char32_t character);

// The choice list as the drill offers it: sorted by bytes, duplicates and empty entries removed.
std::vector<std::string> PreparedChoices(std::vector<std::string> lines);
// Shuffles the choice list for a review (every position swapped with a random one).
void ShuffleChoices(std::vector<std::string>& choices, RandomSource& random);

inline constexpr int kSoftKeyCount = 120;

// Captions of the soft keys 1..120 (slot 0 unused); green marks keys laid from the choice list.
struct SoftKeys {
    std::array<std::string, kSoftKeyCount + 1> captions{};
    bool green = false;
};

// Lays every double-byte character of the choices onto the keys in order (at most 120), shuffles
// them and empties the keys after the last. An empty choice list leaves the keys as they were.
// Single-byte characters are typed on the keyboard and get no key.
void LayKeysFromChoices(SoftKeys& keys, const std::vector<std::string>& choices,
                        RandomSource& random);
// Lays the double-byte characters of a keyboard file's lines onto the keys from key 1 on;
// characters past key 120 are dropped, keys past the last character keep their captions.
void LayKeysFromFile(SoftKeys& keys, const std::vector<std::string>& lines);

// The six praise words, CP932.
const std::vector<std::string>& PraiseWords();

}  // namespace sulkan
