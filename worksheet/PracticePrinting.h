// The practice sheet of a worksheet printed: one job per page through the same targets as the
// sheets (printer, print queue, PDF file), named after the worksheet.
#pragma once

#include <string>
#include <vector>

#include "Result.h"
#include "SheetPrinting.h"
#include "Worksheet.h"

namespace sulkan {

// "<title> 練習用紙", the title as the sheets' job names use it.
std::string PracticeJobName(const Worksheet& worksheet);

// The answer kanji of the worksheet's last drawing pass.
std::vector<std::string> PracticeKanjiOf(const Worksheet& worksheet);

// Prints every page; the number of pages printed, or why a page could not be. No kanji: a
// problem saying so, nothing printed.
Result<int> PrintPracticeSheet(PrintTarget& target, const Worksheet& worksheet,
                               const std::vector<std::string>& kanji, const std::string& face);

}  // namespace sulkan
