#include "Paper.h"

#include <cmath>

#include "TextRoutines.h"

namespace sulkan {

PaperTableType MakePaperTable() {
    constexpr int mm[4][2] = {{182, 257}, {210, 297}, {257, 364}, {297, 420}};
    PaperTableType table{};
    for (int i = 0; i < 4; ++i) table[i] = {mm[i][0] * 3, mm[i][1] * 3};
    return table;
}

PaperRecord PaperFromWidth(int width) {
    return {width, static_cast<int>(RoundHalfEven(width * std::sqrt(2.0)))};
}

PaperIndex PaperIndexForWidth(int width) {
    switch (width) {
        case kB5Width:
            return kB5;
        case kB4Width:
            return kB4;
        case kA3Width:
            return kA3;
        default:
            return kA4;
    }
}

}  // namespace sulkan
