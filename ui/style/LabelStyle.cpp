#include "ui/style/LabelStyle.h"

#include <algorithm>
#include <cstring>

namespace tarnelix::style {

namespace {

BlinkTimerChange StartBlink(LabelState& state, bool on, int mode)
{
    BlinkTimerChange change;
    change.stop = state.blinkTimerRunning;
    state.blinkTimerRunning = false;
    if (on) {
        state.blinkPhase = 0;
        state.blinkMode = mode;
        state.blinkTimerRunning = true;
        change.start = true;
    }
    return change;
}

// 8.8 fixed-point channel walk of one colour component.
struct Channel {
    int value;
    int step;
};

Channel MakeChannel(std::uint8_t start, std::uint8_t end, int bands)
{
    return Channel{start * 256, (end - start) * 256 / bands};
}

std::uint8_t ChannelByte(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value / 256, 0, 255));
}

}  // namespace

void ApplyBackColour(LabelState& state, Rgb colour, Rgb endColour, bool gradient)
{
    state.backColour = colour;
    state.gradientEnd = endColour;
    state.gradient = gradient;
    state.ownBrush.reset();
    if (!gradient) {
        state.ownBrush = colour;
    }
}

std::uint32_t ApplyClickable(LabelState& state, int modeWhenSet, bool on, bool notify, std::uint32_t style)
{
    state.linkMode = on ? modeWhenSet : 0;
    state.notify = notify;
    return WithStyleBits(style, kStaticNotify, on);
}

BlinkTimerChange ApplyBlinkText(LabelState& state, bool on)
{
    BlinkTimerChange change = StartBlink(state, on, kBlinkText);
    if (!on) {
        state.blinkMode = kBlinkNone;
    }
    return change;
}

BlinkTimerChange ApplyBlinkBackground(LabelState& state, bool on)
{
    return StartBlink(state, on, kBlinkBackground);
}

void ToggleBlinkPhase(LabelState& state)
{
    state.blinkPhase = state.blinkPhase == 0 ? 1 : 0;
}

Rgb PaintTextColour(const LabelState& state)
{
    // The timer check keeps a stopped blink (BlinkBackground(false) leaves
    // mode 1 behind) from hiding the text for good.
    if (state.blinkPhase == 0 && state.blinkMode == kBlinkText && state.blinkTimerRunning) {
        return state.ownBrush.value_or(Rgb{0, 0, 0});
    }
    return state.textColour;
}

LabelBackground ChooseBackground(const LabelState& state)
{
    if (state.seeThrough) {
        return LabelBackground::None;
    }
    if (state.gradient) {
        return LabelBackground::Gradient;
    }
    return state.ownBrush ? LabelBackground::OwnBrush : LabelBackground::StandardBrush;
}

Point EmbossOffset(int direction)
{
    return direction == 0 ? Point{-1, -1} : Point{1, 1};
}

TextLayout ChooseTextLayout(std::uint32_t style, std::string_view text)
{
    TextLayout layout;
    if ((style & kStaticCentreImage) != 0) {
        layout.align = LabelAlign::Centre;
        layout.wordWrap = false;
        layout.singleLineVCentre = text.find("\r\n") == std::string_view::npos;
        return layout;
    }
    switch (style & kStaticAlignMask) {
    case kStaticCentre:
        layout.align = LabelAlign::Centre;
        break;
    case kStaticRight:
        layout.align = LabelAlign::Right;
        break;
    case kStaticLeftNoWordWrap:
        layout.wordWrap = false;
        break;
    default:
        break;
    }
    layout.expandTabs = text.find('\t') != std::string_view::npos;
    return layout;
}

std::vector<GradientBand> GradientBands(const Rect& area, Rgb start, Rgb end)
{
    const int width = area.right - area.left;
    const int bands = std::min(kLabelGradientBands, width);
    std::vector<GradientBand> result;
    if (bands <= 0) {
        return result;
    }
    const int bandWidth = width / bands;
    Channel red = MakeChannel(start.r, end.r, bands);
    Channel green = MakeChannel(start.g, end.g, bands);
    Channel blue = MakeChannel(start.b, end.b, bands);
    result.reserve(static_cast<std::size_t>(bands));
    for (int i = 0; i < bands; ++i) {
        const int left = area.left + i * bandWidth;
        const int right = i == bands - 1 ? area.right : left + bandWidth;
        result.push_back(GradientBand{Rect{left, area.top, right + 1, area.bottom},
                                      Rgb{ChannelByte(red.value), ChannelByte(green.value), ChannelByte(blue.value)}});
        red.value += red.step;
        green.value += green.step;
        blue.value += blue.step;
    }
    return result;
}

std::uint32_t WithStyleBits(std::uint32_t style, std::uint32_t bits, bool on)
{
    return on ? (style | bits) : (style & ~bits);
}

int FontWeightFor(bool bold)
{
    return bold ? 700 : 400;
}

int TenthsOfDegree(int degrees)
{
    return degrees * 10;
}

int PointSizeToHeight(int points, int dpiY)
{
    const long long product = static_cast<long long>(points) * dpiY;
    const long long magnitude = (product < 0 ? -product : product) + 36;
    const long long rounded = magnitude / 72;
    return static_cast<int>(product < 0 ? rounded : -rounded);
}

void CopyFaceName(std::string_view name, char (&field)[kFaceNameSize])
{
    const std::size_t length = std::min(name.size(), kFaceNameSize - 1);
    std::memset(field, 0, kFaceNameSize);
    if (length > 0) {
        std::memcpy(field, name.data(), length);
    }
}

}  // namespace tarnelix::style
