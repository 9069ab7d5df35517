// What the owner-drawn push button (CXPButton) draws, decided without
// Windows: the pens, the 64 face colours per state, the face rows, the frame
// lines and the caption position. The Win32 class only carries them out.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/style/StyleTypes.h"

namespace tarnelix::style {

// Owner-draw item state bits, the values of ODS_SELECTED, ODS_DISABLED,
// ODS_FOCUS and ODS_DEFAULT (the Win32 side checks them at compile time).
inline constexpr std::uint32_t kItemSelected = 0x0001;
inline constexpr std::uint32_t kItemDisabled = 0x0004;
inline constexpr std::uint32_t kItemFocus = 0x0010;
inline constexpr std::uint32_t kItemDefault = 0x0020;

struct ButtonItemState {
    bool focused = false;
    // Focused, pressed or the default button: the face takes the darker
    // emphasised colours.
    bool emphasised = false;
    bool pressed = false;
    bool disabled = false;
};

ButtonItemState DecodeItemState(std::uint32_t itemState);

// Every pen of the button is an inside-frame pen of this width and colour.
struct PenStyle {
    int width = 1;
    Rgb colour;
};

struct FramePens {
    PenStyle left;
    PenStyle top;
    PenStyle right;
    PenStyle bottom;
};

inline constexpr PenStyle kBorderPen{1, {0, 0, 0}};
// Orange while the pointer rests on the button.
inline constexpr FramePens kHotFramePens{
    {3, {250, 196, 88}}, {2, {252, 210, 121}}, {3, {251, 202, 106}}, {2, {229, 151, 0}}};
// Blue while it has the keyboard focus (and the pointer is elsewhere).
inline constexpr FramePens kFocusFramePens{
    {3, {153, 198, 252}}, {2, {162, 201, 255}}, {3, {162, 189, 252}}, {2, {162, 201, 255}}};

// The hot pens win over the focus pens; no frame without either.
bool HasFrame(bool hot, bool focused);

// Corner ellipse of the rounded border, in pixels.
inline constexpr int kCornerEllipse = 10;

inline constexpr int kFaceBrushCount = 64;

// Colour of face brush `index` (0..63, clamped), integer divisions:
//   hot, emphasised           red = green = 255 - i/4, blue = 255 - i/3
//   hot, not emphasised       red = green = 255 - i/4, blue = 255 - i/5
//   not hot, emphasised       red = green = 255 - i/3, blue = 255 - i/4
//   not hot, not emphasised   red = green = 255 - i/3, blue = 255 - i/5
Rgb FaceColour(int index, bool hot, bool emphasised);


// The face: the item rectangle shrunk by the system edge size.
Rect FaceRect(const Rect& item, int edgeWidth, int edgeHeight);

// One row of the face gradient: fill [left, right) x [y, y + 1) with brush
// number `brush`.
struct FaceRow {
    int y = 0;
    int left = 0;
    int right = 0;
    int brush = 0;
};

// Rows from face.top while y < H (the height, not the bottom edge), each
// from face.left to W + 2. For an item rectangle at (0, 0) with 2-pixel
// edges the last two face rows stay unpainted and W + 2 is face.right.
std::vector<FaceRow> FaceRows(const Rect& face);

struct Line {
    Point from;
    Point to;
};

// The four frame lines over the face, each drawn with its own pen (the end
// point is excluded, as with MoveToEx/LineTo).
struct FrameLines {
    Line left;
    Line right;
    Line top;
    Line bottom;
};

FrameLines FrameLinesFor(const Rect& face);

// Top-left corner of the caption: centred on the face with every division
// truncated toward zero, one pixel right and down while pressed.
Point CaptionPosition(const Rect& face, int textWidth, int textHeight, bool pressed);

}  // namespace tarnelix::style
