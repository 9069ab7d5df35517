#include "ui/style/ButtonStyle.h"

namespace tarnelix::style {

namespace {

std::uint8_t Fade(int index, int divisor)
{
    return static_cast<std::uint8_t>(255 - index / divisor);
}

// Brush number of face row y: floor(63 * y / height), 0 for a height of 0
// or less (an empty face has no rows to paint anyway).
int FaceBrushIndex(int y, int height)
{
    if (height <= 0) {
        return 0;
    }
    return (kFaceBrushCount - 1) * y / height;
}

}  // namespace

ButtonItemState DecodeItemState(std::uint32_t itemState)
{
    ButtonItemState state;
    state.focused = (itemState & kItemFocus) != 0;
    state.pressed = (itemState & kItemSelected) != 0;
    state.disabled = (itemState & kItemDisabled) != 0;
    state.emphasised = state.focused || state.pressed || (itemState & kItemDefault) != 0;
    return state;
}

bool HasFrame(bool hot, bool focused)
{
    return hot || focused;
}

Rgb FaceColour(int index, bool hot, bool emphasised)
{
    if (index < 0) {
        index = 0;
    } else if (index >= kFaceBrushCount) {
        index = kFaceBrushCount - 1;
    }
    const int redGreenDivisor = hot ? 4 : 3;
    int blueDivisor = 5;
    if (emphasised) {
        blueDivisor = hot ? 3 : 4;
    }
    const std::uint8_t redGreen = Fade(index, redGreenDivisor);
    return Rgb{redGreen, redGreen, Fade(index, blueDivisor)};
}


Rect FaceRect(const Rect& item, int edgeWidth, int edgeHeight)
{
    return Rect{item.left + edgeWidth, item.top + edgeHeight, item.right - edgeWidth, item.bottom - edgeHeight};
}

std::vector<FaceRow> FaceRows(const Rect& face)
{
    const int width = face.right - face.left;
    const int height = face.bottom - face.top;
    std::vector<FaceRow> rows;
    for (int y = face.top; y < height; ++y) {
        rows.push_back(FaceRow{y, face.left, width + 2, FaceBrushIndex(y, height)});
    }
    return rows;
}

FrameLines FrameLinesFor(const Rect& face)
{
    const int l = face.left;
    const int t = face.top;
    const int r = face.right;
    const int b = face.bottom;
    FrameLines lines;
    lines.left = Line{{l, b - 3}, {l, t + 2}};
    lines.right = Line{{r - 1, b - 3}, {r - 1, t + 2}};
    lines.top = Line{{l + 2, t}, {r - 2, t}};
    lines.bottom = Line{{l + 2, b}, {r - 2, b}};
    return lines;
}

Point CaptionPosition(const Rect& face, int textWidth, int textHeight, bool pressed)
{
    // C++ integer division truncates toward zero, as the placement wants.
    Point at{(face.left + face.right) / 2 - textWidth / 2, (face.top + face.bottom) / 2 - textHeight / 2};
    if (pressed) {
        ++at.x;
        ++at.y;
    }
    return at;
}

}  // namespace tarnelix::style
