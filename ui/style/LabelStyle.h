// The label control's state (CTextLabel without its handles) and every
// decision it paints by: the setters' effects on the state, the blink rule,
// the text layout chosen from the static style, the gradient bands and the
// font arithmetic. The Win32 class owns the window, font and brushes and
// carries these decisions out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/style/StyleTypes.h"

namespace tarnelix::style {

// Window-style bits the label reads or changes (values of the Win32
// SS_*, WS_* and WS_EX_* constants, checked on the Win32 side).
inline constexpr std::uint32_t kStaticAlignMask = 0x1F;
inline constexpr std::uint32_t kStaticCentre = 0x01;
inline constexpr std::uint32_t kStaticRight = 0x02;
inline constexpr std::uint32_t kStaticLeftNoWordWrap = 0x0C;
inline constexpr std::uint32_t kStaticNotify = 0x0100;
inline constexpr std::uint32_t kStaticCentreImage = 0x0200;
inline constexpr std::uint32_t kWindowBorder = 0x00800000;
inline constexpr std::uint32_t kExTransparent = 0x00000020;
inline constexpr std::uint32_t kExStaticEdge = 0x00020000;

inline constexpr unsigned kLabelBlinkTimerId = 1;
inline constexpr unsigned kLabelBlinkIntervalMs = 500;
// Code of the notification the label sends its parent before STN_CLICKED.
inline constexpr unsigned kLabelClickNotification = 0x8200;
inline constexpr int kLabelGradientBands = 100;
// A face name is at most 32 bytes with its terminating zero (LF_FACESIZE).
inline constexpr std::size_t kFaceNameSize = 32;

inline constexpr int kBlinkNone = 0;
inline constexpr int kBlinkText = 1;
inline constexpr int kBlinkBackground = 2;

struct LabelState {
    Rgb textColour;  // the system's window-text colour, set by the owner of the state
    Rgb embossColour{255, 255, 255};
    // Colour of the own background brush; none while the gradient is on or
    // before SetBackColour.
    std::optional<Rgb> ownBrush;
    int blinkPhase = 0;
    bool blinkTimerRunning = false;
    int linkMode = 0;
    bool seeThrough = false;
    bool emboss = false;
    bool notify = false;
    bool rotated = false;
    int blinkMode = kBlinkNone;
    int embossDirection = 0;
    bool gradient = false;
    Rgb gradientEnd;
    Rgb backColour;
    std::string target;
};

// SetBackColour: stores the three; a solid own brush of the colour only
// without the gradient.
void ApplyBackColour(LabelState& state, Rgb colour, Rgb endColour, bool gradient);
// SetClickable (link mode 1) and SetClickableAlt (link mode 2); link mode 0
// when cleared. Returns the new style: SS_NOTIFY added or removed.
std::uint32_t ApplyClickable(LabelState& state, int modeWhenSet, bool on, bool notify, std::uint32_t style);

// What the blink setters ask of the window timer.
struct BlinkTimerChange {
    bool stop = false;
    bool start = false;
};

// BlinkText: stop a running timer; when set restart it at phase 0 in mode 1,
// when cleared leave mode 0.
BlinkTimerChange ApplyBlinkText(LabelState& state, bool on);
// BlinkBackground: stop a running timer; when set restart it at phase 0 in
// mode 2; when cleared nothing more (the mode stays as it was).
BlinkTimerChange ApplyBlinkBackground(LabelState& state, bool on);
// One timer tick: phase 0 <-> 1.
void ToggleBlinkPhase(LabelState& state);

// Text colour of a paint: the text colour, except in phase 0 of a running
// text blink, when it takes the own brush's colour (black without one) so
// the text vanishes into a solid background.
Rgb PaintTextColour(const LabelState& state);

enum class LabelBackground { None, OwnBrush, StandardBrush, Gradient };
// See-through labels paint no background; otherwise the gradient, the own
// brush or the standard (button-face) brush, in that order.
LabelBackground ChooseBackground(const LabelState& state);

// Emboss shift of the second text: up-left for direction 0, otherwise
// down-right.
Point EmbossOffset(int direction);

enum class LabelAlign { Left, Centre, Right };

struct TextLayout {
    LabelAlign align = LabelAlign::Left;
    bool wordWrap = true;
    bool expandTabs = false;
    bool singleLineVCentre = false;
};

// Layout from the static style's alignment bits and SS_CENTERIMAGE, and tab
// expansion when the text holds a tab.
TextLayout ChooseTextLayout(std::uint32_t style, std::string_view text);

struct GradientBand {
    Rect fill;
    Rgb colour;
};

// Horizontal gradient from start to end over area in min(100, width) bands:
// 8.8 fixed-point channels stepping by (end - start) * 256 / bands, bands
// width / bands wide, the last one reaching the right edge, each filled one
// pixel past its right edge. No bands for an empty width.
std::vector<GradientBand> GradientBands(const Rect& area, Rgb start, Rgb end);

// Adds or removes bits of a style word.
std::uint32_t WithStyleBits(std::uint32_t style, std::uint32_t bits, bool on);

int FontWeightFor(bool bold);
// Escapement and orientation in tenths of a degree.
int TenthsOfDegree(int degrees);
// Logical font height of a point size on a device of dpiY pixels per inch:
// -(points * dpiY / 72), rounded to nearest as MulDiv does.
int PointSizeToHeight(int points, int dpiY);
// Copies the name into a face-name field, cut to 31 bytes and terminated.
void CopyFaceName(std::string_view name, char (&field)[kFaceNameSize]);

}  // namespace tarnelix::style
