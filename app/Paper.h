// Paper sizes in sheet units (one unit is a third of a millimetre, one pixel of the sheet image).
#pragma once

#include <array>

namespace sulkan {

struct PaperRecord {
    int width = 0;
    int height = 0;
    bool operator==(const PaperRecord&) const = default;
};

enum PaperIndex { kB5 = 0, kA4 = 1, kB4 = 2, kA3 = 3 };
using PaperTableType = std::array<PaperRecord, 4>;

constexpr int kB5Width = 546, kA4Width = 630, kB4Width = 771, kA3Width = 891;

// B5, A4, B4, A3 from their sizes in millimetres × 3.
PaperTableType MakePaperTable();

// A sheet of the given width: its height is the width × √2, rounded.
PaperRecord PaperFromWidth(int width);

// Index of the paper radio a width ticks: one of the four widths, any other width ticks A4.
PaperIndex PaperIndexForWidth(int width);

}  // namespace sulkan
