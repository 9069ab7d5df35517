#include <gtest/gtest.h>

#include <cstring>

#include "ui/style/LabelStyle.h"

using namespace tarnelix::style;

namespace {

constexpr Rgb kSteelBlue{68, 103, 137};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

void ExpectRgb(Rgb actual, int r, int g, int b)
{
    EXPECT_EQ(actual.r, r);
    EXPECT_EQ(actual.g, g);
    EXPECT_EQ(actual.b, b);
}

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

TEST(LabelGradient, WideAreaGetsAHundredBandsOfEqualWidth)
{
    const std::vector<GradientBand> bands = GradientBands(Rect{0, 0, 200, 20}, Rgb{0, 0, 0}, Rgb{200, 100, 0});
    ASSERT_EQ(bands.size(), 100u);
    EXPECT_EQ(bands[0].fill, (Rect{0, 0, 3, 20}));  // 2 wide, filled one pixel past its right edge
    EXPECT_EQ(bands[1].fill, (Rect{2, 0, 5, 20}));
    EXPECT_EQ(bands[99].fill, (Rect{198, 0, 201, 20}));
}

TEST(LabelGradient, ChannelsStepInFixedPoint)
{
    // Red steps 200 * 256 / 100 = 512, green 100 * 256 / 100 = 256.
    const std::vector<GradientBand> bands = GradientBands(Rect{0, 0, 200, 20}, Rgb{0, 0, 0}, Rgb{200, 100, 0});
    ASSERT_EQ(bands.size(), 100u);
    ExpectRgb(bands[0].colour, 0, 0, 0);
    ExpectRgb(bands[1].colour, 2, 1, 0);
    ExpectRgb(bands[50].colour, 100, 50, 0);
    ExpectRgb(bands[99].colour, 198, 99, 0);  // the end colour itself is never reached
}

TEST(LabelGradient, FallingChannelsTruncateTheirStepTowardZero)
{
    // Red steps -68 * 256 / 100 = -174 (not -175): band 99 holds
    // 17408 - 99 * 174 = 182, which is 0; green 26368 - 99 * 263 = 331 -> 1;
    // blue 35072 - 99 * 350 = 422 -> 1.
    const std::vector<GradientBand> bands = GradientBands(Rect{0, 0, 100, 10}, kSteelBlue, kBlack);
    ASSERT_EQ(bands.size(), 100u);
    ExpectRgb(bands[0].colour, 68, 103, 137);
    ExpectRgb(bands[1].colour, 67, 101, 135);  // 17234 / 256, 26105 / 256, 34722 / 256
    ExpectRgb(bands[99].colour, 0, 1, 1);
}

TEST(LabelGradient, LastBandReachesTheRightEdge)
{
    // 150 / 100 = 1 pixel per band; the last band takes the other 51.
    const std::vector<GradientBand> bands = GradientBands(Rect{0, 0, 150, 10}, kBlack, kWhite);
    ASSERT_EQ(bands.size(), 100u);
    EXPECT_EQ(bands[98].fill, (Rect{98, 0, 100, 10}));
    EXPECT_EQ(bands[99].fill, (Rect{99, 0, 151, 10}));
}

TEST(LabelGradient, NarrowAreaGetsOneBandPerPixel)
{
    // 50 bands; red steps 255 * 256 / 50 = 1305.
    const std::vector<GradientBand> bands = GradientBands(Rect{10, 5, 60, 25}, kBlack, kWhite);
    ASSERT_EQ(bands.size(), 50u);
    EXPECT_EQ(bands[0].fill, (Rect{10, 5, 12, 25}));
    EXPECT_EQ(bands[49].fill, (Rect{59, 5, 61, 25}));
    ExpectRgb(bands[1].colour, 5, 5, 5);        // 1305 / 256
    ExpectRgb(bands[49].colour, 249, 249, 249);  // 49 * 1305 / 256 = 249.8
}

TEST(LabelGradient, OnePixelWideAreaIsOneBandOfTheStartColour)
{
    const std::vector<GradientBand> bands = GradientBands(Rect{3, 0, 4, 8}, kSteelBlue, kWhite);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_EQ(bands[0].fill, (Rect{3, 0, 5, 8}));
    EXPECT_EQ(bands[0].colour, kSteelBlue);
}

TEST(LabelGradient, EmptyOrInvertedAreaHasNoBands)
{
    EXPECT_TRUE(GradientBands(Rect{5, 0, 5, 10}, kBlack, kWhite).empty());
    EXPECT_TRUE(GradientBands(Rect{9, 0, 5, 10}, kBlack, kWhite).empty());
}

// ---- Background --------------------------------------------------------------

TEST(LabelBackColour, SolidColourMakesTheOwnBrush)
{
    const LabelState state = CounterLabel();
    ASSERT_TRUE(state.ownBrush.has_value());
    EXPECT_EQ(*state.ownBrush, kSteelBlue);
    EXPECT_FALSE(state.gradient);
    EXPECT_EQ(ChooseBackground(state), LabelBackground::OwnBrush);
}

TEST(LabelBackColour, GradientDropsTheOwnBrushAndKeepsBothColours)
{
    LabelState state = CounterLabel();
    ApplyBackColour(state, kBlack, kWhite, true);
    EXPECT_FALSE(state.ownBrush.has_value());
    EXPECT_EQ(state.backColour, kBlack);
    EXPECT_EQ(state.gradientEnd, kWhite);
    EXPECT_EQ(ChooseBackground(state), LabelBackground::Gradient);
}

TEST(LabelBackColour, WithoutOwnBrushTheButtonFaceBrushFills)
{
    EXPECT_EQ(ChooseBackground(LabelState{}), LabelBackground::StandardBrush);
}

TEST(LabelBackColour, SeeThroughPaintsNoBackgroundAtAll)
{
    LabelState state = CounterLabel();
    state.seeThrough = true;
    EXPECT_EQ(ChooseBackground(state), LabelBackground::None);
    ApplyBackColour(state, kBlack, kWhite, true);
    EXPECT_EQ(ChooseBackground(state), LabelBackground::None);
}

// ---- Blinking ------------------------------------------------------------------

TEST(LabelBlink, BlinkTextStartsTheTimerAtPhaseZero)
{
    LabelState state = CounterLabel();
    state.blinkPhase = 1;
    const BlinkTimerChange change = ApplyBlinkText(state, true);
    EXPECT_FALSE(change.stop);
    EXPECT_TRUE(change.start);
    EXPECT_EQ(state.blinkPhase, 0);
    EXPECT_EQ(state.blinkMode, kBlinkText);
    EXPECT_TRUE(state.blinkTimerRunning);
    EXPECT_EQ(kLabelBlinkTimerId, 1u);
    EXPECT_EQ(kLabelBlinkIntervalMs, 500u);
}

TEST(LabelBlink, BlinkingAgainRestartsTheRunningTimer)
{
    LabelState state;
    ApplyBlinkText(state, true);
    const BlinkTimerChange change = ApplyBlinkBackground(state, true);
    EXPECT_TRUE(change.stop);
    EXPECT_TRUE(change.start);
    EXPECT_EQ(state.blinkMode, kBlinkBackground);
}

TEST(LabelBlink, StoppingTextBlinkClearsTheMode)
{
    LabelState state;
    ApplyBlinkText(state, true);
    const BlinkTimerChange change = ApplyBlinkText(state, false);
    EXPECT_TRUE(change.stop);
    EXPECT_FALSE(change.start);
    EXPECT_EQ(state.blinkMode, kBlinkNone);
    EXPECT_FALSE(state.blinkTimerRunning);
}

TEST(LabelBlink, StoppingBackgroundBlinkKeepsTheMode)
{
    LabelState state;
    ApplyBlinkBackground(state, true);
    const BlinkTimerChange change = ApplyBlinkBackground(state, false);
    EXPECT_TRUE(change.stop);
    EXPECT_EQ(state.blinkMode, kBlinkBackground);
    EXPECT_FALSE(state.blinkTimerRunning);
}

TEST(LabelBlink, StoppingWhatDoesNotRunTouchesNoTimer)
{
    LabelState state;
    const BlinkTimerChange change = ApplyBlinkText(state, false);
    EXPECT_FALSE(change.stop);
    EXPECT_FALSE(change.start);
}

TEST(LabelBlink, TextVanishesIntoTheOwnBrushEveryOtherTick)
{
    LabelState state = CounterLabel();
    ApplyBlinkText(state, true);
    EXPECT_EQ(PaintTextColour(state), kSteelBlue);  // 0-500 ms
    ToggleBlinkPhase(state);
    EXPECT_EQ(PaintTextColour(state), kWhite);  // 500-1000 ms
    ToggleBlinkPhase(state);
    EXPECT_EQ(PaintTextColour(state), kSteelBlue);
}

TEST(LabelBlink, WithoutOwnBrushTheHiddenTextIsBlack)
{
    LabelState state;
    state.textColour = kWhite;
    ApplyBlinkText(state, true);
    EXPECT_EQ(PaintTextColour(state), kBlack);
}

TEST(LabelBlink, BackgroundBlinkLeavesTheTextColour)
{
    LabelState state = CounterLabel();
    ApplyBlinkBackground(state, true);
    EXPECT_EQ(PaintTextColour(state), kWhite);
}

TEST(LabelBlink, TextBlinkStoppedByBackgroundBlinkNeverStaysHidden)
{
    LabelState state = CounterLabel();
    ApplyBlinkText(state, true);
    ApplyBlinkBackground(state, false);
    EXPECT_EQ(state.blinkMode, kBlinkText);  // the mode is left as it was
    EXPECT_EQ(state.blinkPhase, 0);
    EXPECT_EQ(PaintTextColour(state), kWhite);  // but the text shows
}

// ---- Text layout -------------------------------------------------------------

TEST(LabelLayout, AlignmentBitsChooseAlignmentAndWrapping)
{
    const TextLayout left = ChooseTextLayout(0x50000000, "ab");  // WS_CHILD | WS_VISIBLE | SS_LEFT
    EXPECT_EQ(left.align, LabelAlign::Left);
    EXPECT_TRUE(left.wordWrap);
    const TextLayout centre = ChooseTextLayout(kStaticCentre, "ab");
    EXPECT_EQ(centre.align, LabelAlign::Centre);
    EXPECT_TRUE(centre.wordWrap);
    const TextLayout right = ChooseTextLayout(kStaticRight, "ab");
    EXPECT_EQ(right.align, LabelAlign::Right);
    EXPECT_TRUE(right.wordWrap);
    const TextLayout noWrap = ChooseTextLayout(kStaticLeftNoWordWrap, "ab");
    EXPECT_EQ(noWrap.align, LabelAlign::Left);
    EXPECT_FALSE(noWrap.wordWrap);
}

TEST(LabelLayout, OtherAlignmentValuesAreLeftWithWrapping)
{
    const TextLayout simple = ChooseTextLayout(0x0B, "ab");  // SS_SIMPLE
    EXPECT_EQ(simple.align, LabelAlign::Left);
    EXPECT_TRUE(simple.wordWrap);
    EXPECT_FALSE(simple.singleLineVCentre);
}

TEST(LabelLayout, TabCharacterTurnsOnTabExpansion)
{
    EXPECT_FALSE(ChooseTextLayout(0, "a b").expandTabs);
    EXPECT_TRUE(ChooseTextLayout(0, "a\tb").expandTabs);
    EXPECT_TRUE(ChooseTextLayout(kStaticRight, "\t").expandTabs);
}

TEST(LabelLayout, CentreImageCentresOnOneLine)
{
    const TextLayout layout = ChooseTextLayout(kStaticCentreImage | kStaticRight, "12\t3");
    EXPECT_EQ(layout.align, LabelAlign::Centre);
    EXPECT_FALSE(layout.wordWrap);
    EXPECT_FALSE(layout.expandTabs);
    EXPECT_TRUE(layout.singleLineVCentre);
}

TEST(LabelLayout, CentreImageWithCrLfKeepsItsLines)
{
    const TextLayout layout = ChooseTextLayout(kStaticCentreImage, "one\r\ntwo");
    EXPECT_EQ(layout.align, LabelAlign::Centre);
    EXPECT_FALSE(layout.singleLineVCentre);
    EXPECT_TRUE(ChooseTextLayout(kStaticCentreImage, "one\ntwo").singleLineVCentre);
}

// ---- Links and styles ----------------------------------------------------------

TEST(LabelClickable, SetAddsNotifyStyleAndLinkMode)
{
    LabelState state;
    const std::uint32_t style = ApplyClickable(state, 1, true, false, 0x50000000);
    EXPECT_EQ(style, 0x50000100u);
    EXPECT_EQ(state.linkMode, 1);
    EXPECT_FALSE(state.notify);
}

TEST(LabelClickable, ClearRemovesNotifyStyleButStoresTheNotifyFlag)
{
    LabelState state;
    const std::uint32_t style = ApplyClickable(state, 2, false, true, 0x50000101);
    EXPECT_EQ(style, 0x50000001u);
    EXPECT_EQ(state.linkMode, 0);
    EXPECT_TRUE(state.notify);
}

TEST(LabelClickable, AltSetsLinkModeTwo)
{
    LabelState state;
    ApplyClickable(state, 2, true, true, 0);
    EXPECT_EQ(state.linkMode, 2);
    EXPECT_EQ(kLabelClickNotification, 0x8200u);
}

TEST(LabelStyleBits, AddAndRemove)
{
    EXPECT_EQ(WithStyleBits(0x50000000, kWindowBorder, true), 0x50800000u);
    EXPECT_EQ(WithStyleBits(0x50800000, kWindowBorder, false), 0x50000000u);
    EXPECT_EQ(WithStyleBits(0x20, kExTransparent, true), 0x20u);
}

TEST(LabelEmboss, DirectionZeroShiftsUpLeftAnyOtherDownRight)
{
    EXPECT_EQ(EmbossOffset(0), (Point{-1, -1}));
    EXPECT_EQ(EmbossOffset(1), (Point{1, 1}));
    EXPECT_EQ(EmbossOffset(-4), (Point{1, 1}));
}

TEST(LabelDefaults, EmbossWhiteNoLinkNoBlink)
{
    const LabelState state;
    EXPECT_EQ(state.embossColour, kWhite);
    EXPECT_EQ(state.linkMode, 0);
    EXPECT_EQ(state.blinkMode, kBlinkNone);
    EXPECT_FALSE(state.ownBrush.has_value());
    EXPECT_TRUE(state.target.empty());
}

// ---- Font arithmetic ---------------------------------------------------------------

TEST(LabelFont, BoldIsWeight700PlainIs400)
{
    EXPECT_EQ(FontWeightFor(true), 700);
    EXPECT_EQ(FontWeightFor(false), 400);
}

TEST(LabelFont, AngleIsStoredInTenthsOfADegree)
{
    EXPECT_EQ(TenthsOfDegree(90), 900);
    EXPECT_EQ(TenthsOfDegree(-45), -450);
}

TEST(LabelFont, PointSizeBecomesANegativeCellHeightRoundedToNearest)
{
    EXPECT_EQ(PointSizeToHeight(8, 96), -11);   // 768 / 72 = 10.67
    EXPECT_EQ(PointSizeToHeight(10, 96), -13);  // 960 / 72 = 13.33
    EXPECT_EQ(PointSizeToHeight(12, 96), -16);
    EXPECT_EQ(PointSizeToHeight(9, 120), -15);  // 1080 / 72
    EXPECT_EQ(PointSizeToHeight(0, 96), 0);
    EXPECT_EQ(PointSizeToHeight(-8, 96), 11);
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
