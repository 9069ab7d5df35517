#include <gtest/gtest.h>

#include <cstring>

#include "ui/style/LabelStyle.h"

using namespace tarnelix::style;

namespace {

constexpr Rgb kSteelBlue{68, 103, 137};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// The reports page's counter fields.
LabelState CounterLabel()
{
    LabelState state;
    ApplyBackColour(state, kSteelBlue, kBlack, false);
    state.textColour = kWhite;
    return state;
}

}  // namespace

// ---- Gradient bands ------------------------------------------------------------

TEST(LabelGradient, BandsSplitTheWidthAndStepTheChannelsInFixedPoint)
{
    // At most 100 bands, each filled one pixel past its right edge; the last
    // band takes what the division leaves. Channels step by
    // (end - start) * 256 / bands, truncated toward zero, so the end colour
    // itself is never reached.
    struct Case {
        Rect area;
        Rgb from, to;
        std::size_t bands, index;
        Rect fill;
        Rgb colour;
    };
    const Case cases[] = {
        // Red steps 200 * 256 / 100 = 512, green 256.
        {{0, 0, 200, 20}, kBlack, {200, 100, 0}, 100, 0, {0, 0, 3, 20}, {0, 0, 0}},
        {{0, 0, 200, 20}, kBlack, {200, 100, 0}, 100, 1, {2, 0, 5, 20}, {2, 1, 0}},
        {{0, 0, 200, 20}, kBlack, {200, 100, 0}, 100, 50, {100, 0, 103, 20}, {100, 50, 0}},
        {{0, 0, 200, 20}, kBlack, {200, 100, 0}, 100, 99, {198, 0, 201, 20}, {198, 99, 0}},
        // Falling: red steps -68 * 256 / 100 = -174 (not -175); band 1 holds
        // 17234 / 256, 26105 / 256, 34722 / 256; band 99 holds
        // 17408 - 99 * 174 = 182 -> 0, 26368 - 99 * 263 = 331 -> 1, 35072 - 99 * 350 = 422 -> 1.
        {{0, 0, 100, 10}, kSteelBlue, kBlack, 100, 0, {0, 0, 2, 10}, kSteelBlue},
        {{0, 0, 100, 10}, kSteelBlue, kBlack, 100, 1, {1, 0, 3, 10}, {67, 101, 135}},
        {{0, 0, 100, 10}, kSteelBlue, kBlack, 100, 99, {99, 0, 101, 10}, {0, 1, 1}},
        // 150 / 100 = 1 pixel per band; the last band takes the other 51.
        {{0, 0, 150, 10}, kBlack, kWhite, 100, 98, {98, 0, 100, 10}, {249, 249, 249}},
        {{0, 0, 150, 10}, kBlack, kWhite, 100, 99, {99, 0, 151, 10}, {252, 252, 252}},
        // Narrower than 100: one band per pixel, red steps 255 * 256 / 50 = 1305.
        {{10, 5, 60, 25}, kBlack, kWhite, 50, 0, {10, 5, 12, 25}, kBlack},
        {{10, 5, 60, 25}, kBlack, kWhite, 50, 1, {11, 5, 13, 25}, {5, 5, 5}},
        {{10, 5, 60, 25}, kBlack, kWhite, 50, 49, {59, 5, 61, 25}, {249, 249, 249}},  // 249.8
        {{3, 0, 4, 8}, kSteelBlue, kWhite, 1, 0, {3, 0, 5, 8}, kSteelBlue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.area.right - c.area.left << " band " << c.index);
        const std::vector<GradientBand> bands = GradientBands(c.area, c.from, c.to);
        ASSERT_EQ(bands.size(), c.bands);
        EXPECT_EQ(bands[c.index].fill, c.fill);
        EXPECT_EQ(bands[c.index].colour, c.colour);
    }
    EXPECT_TRUE(GradientBands(Rect{5, 0, 5, 10}, kBlack, kWhite).empty());
    EXPECT_TRUE(GradientBands(Rect{9, 0, 5, 10}, kBlack, kWhite).empty());
}

// ---- Background --------------------------------------------------------------

TEST(LabelBackColour, OwnBrushGradientStandardBrushOrNothingAtAll)
{
    EXPECT_EQ(ChooseBackground(LabelState{}), LabelBackground::StandardBrush);

    LabelState state = CounterLabel();
    ASSERT_TRUE(state.ownBrush.has_value());
    EXPECT_EQ(*state.ownBrush, kSteelBlue);
    EXPECT_EQ(ChooseBackground(state), LabelBackground::OwnBrush);

    ApplyBackColour(state, kBlack, kWhite, true);
    EXPECT_FALSE(state.ownBrush.has_value());
    EXPECT_EQ(state.backColour, kBlack);
    EXPECT_EQ(state.gradientEnd, kWhite);
    EXPECT_EQ(ChooseBackground(state), LabelBackground::Gradient);

    state.seeThrough = true;
    EXPECT_EQ(ChooseBackground(state), LabelBackground::None);
    ApplyBackColour(state, kSteelBlue, kBlack, false);
    EXPECT_EQ(ChooseBackground(state), LabelBackground::None);
}

// ---- Blinking ------------------------------------------------------------------

TEST(LabelBlink, TimerStartsAtPhaseZeroRestartsAndStopsOnlyWhenRunning)
{
    LabelState state;
    BlinkTimerChange change = ApplyBlinkText(state, false);  // nothing runs
    EXPECT_FALSE(change.stop);
    EXPECT_FALSE(change.start);

    state.blinkPhase = 1;
    change = ApplyBlinkText(state, true);
    EXPECT_FALSE(change.stop);
    EXPECT_TRUE(change.start);
    EXPECT_EQ(state.blinkPhase, 0);
    EXPECT_EQ(state.blinkMode, kBlinkText);
    EXPECT_TRUE(state.blinkTimerRunning);

    change = ApplyBlinkBackground(state, true);  // restarts the running timer
    EXPECT_TRUE(change.stop);
    EXPECT_TRUE(change.start);
    EXPECT_EQ(state.blinkMode, kBlinkBackground);

    change = ApplyBlinkBackground(state, false);  // keeps the mode
    EXPECT_TRUE(change.stop);
    EXPECT_FALSE(change.start);
    EXPECT_EQ(state.blinkMode, kBlinkBackground);
    EXPECT_FALSE(state.blinkTimerRunning);

    ApplyBlinkText(state, true);
    change = ApplyBlinkText(state, false);  // clears the mode
    EXPECT_TRUE(change.stop);
    EXPECT_EQ(state.blinkMode, kBlinkNone);
    EXPECT_FALSE(state.blinkTimerRunning);
}

TEST(LabelBlink, TextVanishesIntoTheBackgroundEveryOtherTickOnlyWhileTextBlinks)
{
    LabelState state = CounterLabel();
    ApplyBlinkText(state, true);
    EXPECT_EQ(PaintTextColour(state), kSteelBlue);  // 0-500 ms
    ToggleBlinkPhase(state);
    EXPECT_EQ(PaintTextColour(state), kWhite);  // 500-1000 ms
    ToggleBlinkPhase(state);
    EXPECT_EQ(PaintTextColour(state), kSteelBlue);

    // Stopped through the background call: the mode is left as it was, but
    // the text shows and never stays hidden.
    ApplyBlinkBackground(state, false);
    EXPECT_EQ(state.blinkMode, kBlinkText);
    EXPECT_EQ(PaintTextColour(state), kWhite);

    LabelState background = CounterLabel();
    ApplyBlinkBackground(background, true);
    EXPECT_EQ(PaintTextColour(background), kWhite);

    LabelState noBrush;
    noBrush.textColour = kWhite;
    ApplyBlinkText(noBrush, true);
    EXPECT_EQ(PaintTextColour(noBrush), kBlack);
}

// ---- Text layout -------------------------------------------------------------

TEST(LabelLayout, StyleBitsAndTextChooseAlignmentWrappingTabsAndCentring)
{
    struct Case {
        std::uint32_t style;
        const char* text;
        LabelAlign align;
        bool wordWrap, expandTabs, singleLineVCentre;
    };
    const Case cases[] = {
        {0x50000000, "ab", LabelAlign::Left, true, false, false},  // WS_CHILD | WS_VISIBLE | SS_LEFT
        {kStaticCentre, "ab", LabelAlign::Centre, true, false, false},
        {kStaticRight, "ab", LabelAlign::Right, true, false, false},
        {kStaticLeftNoWordWrap, "ab", LabelAlign::Left, false, false, false},
        {0x0B, "ab", LabelAlign::Left, true, false, false},  // SS_SIMPLE: any other value
        {0, "a\tb", LabelAlign::Left, true, true, false},
        {kStaticRight, "\t", LabelAlign::Right, true, true, false},
        {kStaticCentreImage | kStaticRight, "12\t3", LabelAlign::Centre, false, false, true},
        {kStaticCentreImage, "one\ntwo", LabelAlign::Centre, false, false, true},
        {kStaticCentreImage, "one\r\ntwo", LabelAlign::Centre, false, false, false},  // keeps its lines
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.style << " \"" << c.text << '"');
        const TextLayout layout = ChooseTextLayout(c.style, c.text);
        EXPECT_EQ(layout.align, c.align);
        EXPECT_EQ(layout.wordWrap, c.wordWrap);
        EXPECT_EQ(layout.expandTabs, c.expandTabs);
        EXPECT_EQ(layout.singleLineVCentre, c.singleLineVCentre);
    }
}

// ---- Links, styles and fonts -------------------------------------------------------

TEST(LabelClickable, SetAddsNotifyStyleAndLinkModeClearRemovesThemButStoresTheFlag)
{
    LabelState state;
    EXPECT_EQ(ApplyClickable(state, 1, true, false, 0x50000000), 0x50000100u);
    EXPECT_EQ(state.linkMode, 1);
    EXPECT_FALSE(state.notify);
    EXPECT_EQ(ApplyClickable(state, 2, false, true, 0x50000101), 0x50000001u);
    EXPECT_EQ(state.linkMode, 0);
    EXPECT_TRUE(state.notify);
    ApplyClickable(state, 2, true, true, 0);
    EXPECT_EQ(state.linkMode, 2);
}

TEST(LabelStyleBits, AddRemoveAndEmbossDirection)
{
    EXPECT_EQ(WithStyleBits(0x50000000, kWindowBorder, true), 0x50800000u);
    EXPECT_EQ(WithStyleBits(0x50800000, kWindowBorder, false), 0x50000000u);
    EXPECT_EQ(WithStyleBits(0x20, kExTransparent, true), 0x20u);
    EXPECT_EQ(EmbossOffset(0), (Point{-1, -1}));
    EXPECT_EQ(EmbossOffset(1), (Point{1, 1}));
    EXPECT_EQ(EmbossOffset(-4), (Point{1, 1}));
}

TEST(LabelFont, PointSizeBecomesANegativeCellHeightRoundedToNearest)
{
    const struct {
        int points, dpi, height;
    } cases[] = {
        {8, 96, -11},   // 768 / 72 = 10.67
        {10, 96, -13},  // 960 / 72 = 13.33
        {12, 96, -16}, {9, 120, -15}, {0, 96, 0}, {-8, 96, 11},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PointSizeToHeight(c.points, c.dpi), c.height) << c.points << " pt at " << c.dpi << " dpi";
    }
}

TEST(LabelFont, FaceNameIsCutTo31BytesAndTerminated)
{
    char field[kFaceNameSize];
    std::memset(field, 'x', sizeof(field));
    CopyFaceName("Tahoma", field);
    EXPECT_STREQ(field, "Tahoma");
    EXPECT_EQ(field[31], '\0');
    CopyFaceName(std::string(40, 'A'), field);
    EXPECT_EQ(std::strlen(field), 31u);
    CopyFaceName("", field);
    EXPECT_STREQ(field, "");
}
