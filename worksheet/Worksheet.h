// The state of one worksheet: where it came from, its header texts, question lines, figures and
// layout parameters. Each worksheet window owns one.
#pragma once

#include <string>
#include <vector>

#include "LayoutParams.h"
#include "UnitAddress.h"

namespace sulkan {

// What a sheet shows and the drill asks, as read from a unit or copy file: it moves whole from
// the holding area into a worksheet. CP932 lines.
struct UnitContent {
    std::string title;
    std::string school;
    std::string nameLine;
    std::vector<std::string> questionLines;    // at most 60
    std::vector<std::string> questionFigures;  // triples: file name, left, top
    std::vector<std::string> answerFigures;    // triples, shown only with the answers
    std::vector<std::string> kgroup;           // answer choices for the drill
    std::vector<std::string> softKey;          // soft-keyboard file name

    friend bool operator==(const UnitContent&, const UnitContent&) = default;
};

// A unit's titles as unit selection shows them. CP932.
struct UnitTitles {
    std::string lesson, section, unit;

    friend bool operator==(const UnitTitles&, const UnitTitles&) = default;
};

struct Worksheet {
    UnitAddress address;
    UnitTitles titles;      // as chosen in unit selection
    std::string filePath;   // question file or copy file it was read from
    bool isMaster = false;  // an unchanged master unit: may overwrite its question file
    bool isCopy = false;    // read from a copy file
    bool modified = false;

    UnitContent content;
    LayoutParams params = WorksheetFallbackLayout();
    std::string lastTitle;  // the title composed by the last read

    // Filled by every drawing pass.
    std::vector<std::string> answerList;  // "start", then every answer text in drawing order
    std::vector<int> pieceStarts;         // x of each question piece before an answer

    int sheetWidth() const { return params.PaperWidth; }
    int sheetHeight() const;  // width × √2, rounded

    int lastSectionRead = 0;  // section of the unit read into it last: added units' titles
};

}  // namespace sulkan
