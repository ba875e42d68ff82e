// The reading of each practice kanji as the unit's questions give it, for the line under its
// row on the practice sheet.
#pragma once

#include <string>
#include <vector>

namespace sulkan {

// For each of the kanji (CP932 characters), the reading the question lines give it, or "":
// - a writing blank whose answer holds the kanji, with kana next to it: the passage marked by a
//   style tag right before the blank ("<U>べんきょう</>#勉強#") or kana in brackets right before
//   or after it ("#橋#（はし）");
// - a reading blank (its model answer kana) right after a word that holds the kanji: the passage
//   marked before it ("<U>駅</>#えき#") or the kanji written just before it
//   ("表（#ひょう;おもて#）"); its kana alternatives are all readings, joined with "・".
// The kanji's own reading wins over that of a longer word, which is given with its word
// ("勉強（べんきょう）"); otherwise the first question in the sheet's order. The bytes are those of
// the question lines.
std::vector<std::string> PracticeReadings(const std::vector<std::string>& questionLines,
                                          const std::vector<std::string>& kanji);

}  // namespace sulkan
