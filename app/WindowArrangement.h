// Where the Window menu's cascade and tile put the worksheet windows: plain geometry in pixels of
// the frame's child area, so that it is tested without a display.
#pragma once

#include <vector>

namespace sulkan {

struct WindowBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowBox&) const = default;
};

struct WindowExtent {
    int width = 0;
    int height = 0;
};

// One box per window, bottom window first; each lies `step` further right and down than the one
// before, and a window that would leave the area starts again at the top left. A window is as
// large as it wants (`wanted`: the size that shows its whole sheet) where the area allows, and
// never narrower than its sheet or two thirds of the area, whichever is smaller (the same for
// the height), so that a cascaded sheet stays usable.
std::vector<WindowBox> CascadeWindows(WindowExtent area, const std::vector<WindowExtent>& wanted,
                                      int step);

// `count` boxes filling the area in a grid of about equal columns and rows, row by row; the
// windows of a short last row share its whole width.
std::vector<WindowBox> TileWindows(WindowExtent area, int count);

}  // namespace sulkan
