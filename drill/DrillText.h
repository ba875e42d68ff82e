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

// Whether answer is one of the alternatives, both trimmed with TrimWide and compared byte for
// byte. Half-width digits of an alternative also match their full-width forms (Enter turns typed
// digits full-width), and an empty alternative matches nothing.
bool MatchesAlternative(std::string_view answer, const std::vector<std::string>& alternatives);

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
