#include "WindowArrangement.h"

#include <algorithm>

namespace sulkan {
namespace {

// The length a cascaded window gets at `offset` along one side of the area.
int CascadeLength(int area, int wanted, int offset) {
    const int floor = std::min(wanted, area * 2 / 3);
    return std::min(area, std::max(floor, std::min(wanted, area - offset)));
}

}  // namespace

std::vector<WindowBox> CascadeWindows(WindowExtent area, const std::vector<WindowExtent>& wanted,
                                      int step) {
    std::vector<WindowBox> boxes;
    step = std::max(step, 1);
    int offset = 0;
    for (const WindowExtent& want : wanted) {
        WindowBox box{offset, offset, CascadeLength(area.width, want.width, offset),
                      CascadeLength(area.height, want.height, offset)};
        if (offset > 0 && (box.x + box.width > area.width || box.y + box.height > area.height)) {
            offset = 0;
            box = {0, 0, CascadeLength(area.width, want.width, 0),
                   CascadeLength(area.height, want.height, 0)};
        }
        boxes.push_back(box);
        offset += step;
    }
    return boxes;
}

std::vector<WindowBox> TileWindows(WindowExtent area, int count) {
    std::vector<WindowBox> boxes;
    if (count <= 0) return boxes;
    int columns = 1;
    while (columns * columns < count) ++columns;
    const int rows = (count + columns - 1) / columns;
    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        const int inRow = row == rows - 1 ? count - row * columns : columns;
        const int column = i % columns;
        const int left = area.width * column / inRow;
        const int right = area.width * (column + 1) / inRow;
        const int top = area.height * row / rows;
        const int bottom = area.height * (row + 1) / rows;
        boxes.push_back({left, top, right - left, bottom - top});
    }
    return boxes;
}

}  // namespace sulkan
