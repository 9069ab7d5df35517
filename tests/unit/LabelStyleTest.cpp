#include <gtest/gtest.h>

#include "ui/style/LabelStyle.h"

using namespace tarnelix::style;

namespace {

constexpr Rgb kSteelBlue{68, 103, 137};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// The reports page's counter fields: white on a solid steel blue.
LabelState CounterLabel()
{
    LabelState state;
    ApplyBackColour(state, kSteelBlue, kBlack, false);
    state.textColour = kWhite;
    return state;
}

}  // namespace

// With a solid background the text vanishes for 500 ms out of every 1000;
// stopping the blink through either call never leaves it hidden.
TEST(LabelBlink, TextVanishesEveryOtherTickOnlyWhileTheTextBlinks)
{
    LabelState state = CounterLabel();
    state.blinkPhase = 1;
    const BlinkTimerChange start = ApplyBlinkText(state, true);
    EXPECT_TRUE(start.start && !start.stop);
    EXPECT_EQ(PaintTextColour(state), kSteelBlue);  // phase 0: 0-500 ms
    ToggleBlinkPhase(state);
    EXPECT_EQ(PaintTextColour(state), kWhite);  // 500-1000 ms
    ToggleBlinkPhase(state);
    const BlinkTimerChange stop = ApplyBlinkBackground(state, false);
    EXPECT_TRUE(stop.stop && !stop.start);
    EXPECT_EQ(state.blinkMode, kBlinkText);  // the background call keeps the mode
    EXPECT_EQ(PaintTextColour(state), kWhite);

    LabelState noBrush;
    noBrush.textColour = kWhite;
    ApplyBlinkText(noBrush, true);
    EXPECT_EQ(PaintTextColour(noBrush), kBlack);
    EXPECT_TRUE(ApplyBlinkText(noBrush, false).stop);
    EXPECT_EQ(noBrush.blinkMode, kBlinkNone);
}

TEST(LabelLayout, StyleBitsAndTextChooseAlignmentWrappingTabsAndCentring)
{
    const struct {
        std::uint32_t style;
        const char* text;
        LabelAlign align;
        bool wordWrap, expandTabs, singleLineVCentre;
    } cases[] = {
        {0x50000000, "ab", LabelAlign::Left, true, false, false},  // WS_CHILD | WS_VISIBLE | SS_LEFT
        {kStaticCentre, "ab", LabelAlign::Centre, true, false, false},
        {kStaticRight, "a\tb", LabelAlign::Right, true, true, false},
        {kStaticLeftNoWordWrap, "ab", LabelAlign::Left, false, false, false},
        {0x0B, "ab", LabelAlign::Left, true, false, false},  // SS_SIMPLE: any other value
        {kStaticCentreImage | kStaticRight, "12\t3", LabelAlign::Centre, false, false, true},
        {kStaticCentreImage, "one\r\ntwo", LabelAlign::Centre, false, false, false},  // keeps its lines
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.style << " \"" << c.text << '"');
        const TextLayout layout = ChooseTextLayout(c.style, c.text);
        EXPECT_EQ(layout.align, c.align);
        EXPECT_EQ(layout.wordWrap, c.wordWrap);
        EXPECT_EQ(layout.expandTabs, c.expandTabs);
        EXPECT_EQ(layout.singleLineVCentre, c.singleLineVCentre);
    }
}
