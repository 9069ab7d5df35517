#include <gtest/gtest.h>

#include "ui/style/ButtonStyle.h"

using namespace tarnelix::style;

namespace {

// A 75 x 23 pixel button with the common 2-pixel edges: the face is
// (2, 2, 73, 21), W = 71, H = 19.
constexpr Rect kItem{0, 0, 75, 23};
constexpr Rect kFace{2, 2, 73, 21};

void ExpectRgb(Rgb actual, int r, int g, int b)
{
    EXPECT_EQ(actual.r, r);
    EXPECT_EQ(actual.g, g);
    EXPECT_EQ(actual.b, b);
}

void ExpectLine(const Line& line, Point from, Point to)
{
    EXPECT_EQ(line.from.x, from.x);
    EXPECT_EQ(line.from.y, from.y);
    EXPECT_EQ(line.to.x, to.x);
    EXPECT_EQ(line.to.y, to.y);
}

void ExpectPen(const PenStyle& pen, int width, int r, int g, int b)
{
    EXPECT_EQ(pen.width, width);
    ExpectRgb(pen.colour, r, g, b);
}

}  // namespace

// ---- Face colours ------------------------------------------------------------

TEST(ButtonFaceColour, FirstBrushIsWhiteInEveryState)
{
    for (bool hot : {false, true}) {
        for (bool emphasised : {false, true}) {
            ExpectRgb(FaceColour(0, hot, emphasised), 255, 255, 255);
        }
    }
}

TEST(ButtonFaceColour, NotHotNotEmphasisedFadesRedGreenByThirdsAndBlueByFifths)
{
    ExpectRgb(FaceColour(10, false, false), 252, 252, 253);  // 255 - 10/3, 255 - 10/5
    ExpectRgb(FaceColour(63, false, false), 234, 234, 243);  // 255 - 21, 255 - 12
}

TEST(ButtonFaceColour, NotHotEmphasisedTakesQuartersForBlue)
{
    ExpectRgb(FaceColour(63, false, true), 234, 234, 240);  // 255 - 21, 255 - 15
}

TEST(ButtonFaceColour, HotNotEmphasisedTakesQuartersForRedGreen)
{
    ExpectRgb(FaceColour(63, true, false), 240, 240, 243);  // 255 - 15, 255 - 12
}

TEST(ButtonFaceColour, HotEmphasisedTakesThirdsForBlue)
{
    ExpectRgb(FaceColour(63, true, true), 240, 240, 234);  // 255 - 15, 255 - 21
    ExpectRgb(FaceColour(7, true, true), 254, 254, 253);   // 255 - 1, 255 - 2
}

TEST(ButtonFaceColour, IndexOutsideTheSixtyFourBrushesIsClamped)
{
    EXPECT_EQ(FaceColour(-5, false, false), FaceColour(0, false, false));
    EXPECT_EQ(FaceColour(64, true, true), FaceColour(63, true, true));
}

// ---- Face rows ----------------------------------------------------------------

TEST(ButtonFaceBrushIndex, IsSixtyThreeTimesRowOverHeightRoundedDown)
{
    EXPECT_EQ(FaceBrushIndex(0, 19), 0);
    EXPECT_EQ(FaceBrushIndex(2, 19), 6);    // 126 / 19 = 6.6
    EXPECT_EQ(FaceBrushIndex(18, 19), 59);  // 1134 / 19 = 59.7
    EXPECT_EQ(FaceBrushIndex(19, 19), 63);
}

TEST(ButtonFaceBrushIndex, ZeroOrNegativeHeightGivesTheFirstBrush)
{
    EXPECT_EQ(FaceBrushIndex(5, 0), 0);
    EXPECT_EQ(FaceBrushIndex(5, -3), 0);
}

TEST(ButtonFaceRect, ShrinksTheItemByTheEdgeSize)
{
    EXPECT_EQ(FaceRect(kItem, 2, 2), kFace);
    EXPECT_EQ(FaceRect(Rect{10, 20, 40, 50}, 1, 3), (Rect{11, 23, 39, 47}));
}

TEST(ButtonFaceRows, RunFromTheFaceTopWhileRowIsBelowTheHeight)
{
    const std::vector<FaceRow> rows = FaceRows(kFace);
    ASSERT_EQ(rows.size(), 17u);  // rows 2..18: the two rows above the face bottom stay unpainted
    EXPECT_EQ(rows.front().y, 2);
    EXPECT_EQ(rows.back().y, 18);
}

TEST(ButtonFaceRows, SpanFromTheFaceLeftToWidthPlusTwo)
{
    for (const FaceRow& row : FaceRows(kFace)) {
        EXPECT_EQ(row.left, 2);
        EXPECT_EQ(row.right, 73);  // 71 + 2, the face's right edge
    }
    const std::vector<FaceRow> shifted = FaceRows(Rect{5, 0, 25, 10});
    ASSERT_FALSE(shifted.empty());
    EXPECT_EQ(shifted.front().right, 22);  // W + 2, not the right edge 25
}

TEST(ButtonFaceRows, TopAndBottomRowColoursOfARestingButton)
{
    const std::vector<FaceRow> rows = FaceRows(kFace);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().brush, 6);
    ExpectRgb(FaceColour(rows.front().brush, false, false), 253, 253, 254);  // 255 - 2, 255 - 1
    EXPECT_EQ(rows.back().brush, 59);
    ExpectRgb(FaceColour(rows.back().brush, false, false), 236, 236, 244);  // 255 - 19, 255 - 11
}

TEST(ButtonFaceRows, TopAndBottomRowColoursOfAHotPressedButton)
{
    const std::vector<FaceRow> rows = FaceRows(kFace);
    ASSERT_FALSE(rows.empty());
    ExpectRgb(FaceColour(rows.front().brush, true, true), 254, 254, 253);  // 255 - 6/4, 255 - 6/3
    ExpectRgb(FaceColour(rows.back().brush, true, true), 241, 241, 236);   // 255 - 59/4, 255 - 59/3
}

TEST(ButtonFaceRows, AFaceAtTheOriginStartsWhiteAndEndsOneRowAboveItsBottom)
{
    const std::vector<FaceRow> rows = FaceRows(Rect{0, 0, 10, 8});
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows.front().brush, 0);
    ExpectRgb(FaceColour(rows.front().brush, false, false), 255, 255, 255);
    EXPECT_EQ(rows.back().brush, 55);  // 63 * 7 / 8 = 55.1
    EXPECT_EQ(rows.back().right, 12);
}

TEST(ButtonFaceRows, EmptyOrInvertedFacesHaveNoRows)
{
    EXPECT_TRUE(FaceRows(Rect{2, 2, 2, 2}).empty());
    EXPECT_TRUE(FaceRows(Rect{2, 2, 10, 1}).empty());
    EXPECT_TRUE(FaceRows(Rect{2, 10, 20, 15}).empty());  // top 10 is not below the height 5
}

// ---- Frame ----------------------------------------------------------------

TEST(ButtonFrameLines, FollowTheFaceEdgesInsetByTwoAndThree)
{
    const FrameLines lines = FrameLinesFor(kFace);
    ExpectLine(lines.left, {2, 18}, {2, 4});
    ExpectLine(lines.right, {72, 18}, {72, 4});
    ExpectLine(lines.top, {4, 2}, {71, 2});
    ExpectLine(lines.bottom, {4, 21}, {71, 21});
}

TEST(ButtonFramePens, HotFrameIsOrangeWithThickSides)
{
    const FramePens& pens = FramePensFor(true);
    ExpectPen(pens.left, 3, 250, 196, 88);
    ExpectPen(pens.top, 2, 252, 210, 121);
    ExpectPen(pens.right, 3, 251, 202, 106);
    ExpectPen(pens.bottom, 2, 229, 151, 0);
}

TEST(ButtonFramePens, FocusFrameIsBlue)
{
    const FramePens& pens = FramePensFor(false);
    ExpectPen(pens.left, 3, 153, 198, 252);
    ExpectPen(pens.top, 2, 162, 201, 255);
    ExpectPen(pens.right, 3, 162, 189, 252);
    ExpectPen(pens.bottom, 2, 162, 201, 255);
}

TEST(ButtonFramePens, BorderIsAThinBlackLine)
{
    ExpectPen(kBorderPen, 1, 0, 0, 0);
    EXPECT_EQ(kCornerEllipse, 10);
}

TEST(ButtonFrame, DrawnWhenHotOrFocusedOnly)
{
    EXPECT_FALSE(HasFrame(false, false));
    EXPECT_TRUE(HasFrame(true, false));
    EXPECT_TRUE(HasFrame(false, true));
    EXPECT_TRUE(HasFrame(true, true));
}

// ---- Item state ------------------------------------------------------------

TEST(ButtonItemStateDecode, FocusMakesFocusedAndEmphasised)
{
    const ButtonItemState state = DecodeItemState(kItemFocus);
    EXPECT_TRUE(state.focused);
    EXPECT_TRUE(state.emphasised);
    EXPECT_FALSE(state.pressed);
    EXPECT_FALSE(state.disabled);
}

TEST(ButtonItemStateDecode, PressedAndDefaultEmphasiseWithoutFocus)
{
    const ButtonItemState pressed = DecodeItemState(kItemSelected);
    EXPECT_TRUE(pressed.pressed);
    EXPECT_TRUE(pressed.emphasised);
    EXPECT_FALSE(pressed.focused);
    const ButtonItemState byDefault = DecodeItemState(kItemDefault);
    EXPECT_TRUE(byDefault.emphasised);
    EXPECT_FALSE(byDefault.pressed);
    EXPECT_FALSE(byDefault.focused);
}

TEST(ButtonItemStateDecode, DisabledAloneIsNotEmphasised)
{
    const ButtonItemState state = DecodeItemState(kItemDisabled);
    EXPECT_TRUE(state.disabled);
    EXPECT_FALSE(state.emphasised);
    EXPECT_FALSE(DecodeItemState(0).emphasised);
}

// ---- Caption -----------------------------------------------------------------

TEST(ButtonCaptionPosition, CentresOnTheFace)
{
    const Point at = CaptionPosition(kFace, 40, 13, false);
    EXPECT_EQ(at.x, 17);  // 75 / 2 - 40 / 2 = 37 - 20
    EXPECT_EQ(at.y, 5);   // 23 / 2 - 13 / 2 = 11 - 6
}

TEST(ButtonCaptionPosition, PressedMovesOnePixelRightAndDown)
{
    const Point at = CaptionPosition(kFace, 40, 13, true);
    EXPECT_EQ(at.x, 18);
    EXPECT_EQ(at.y, 6);
}

TEST(ButtonCaptionPosition, OddSizesLoseTheirHalfPixel)
{
    const Point at = CaptionPosition(kFace, 41, 14, false);
    EXPECT_EQ(at.x, 17);  // 37 - 41 / 2 = 37 - 20
    EXPECT_EQ(at.y, 4);   // 11 - 14 / 2 = 11 - 7
}

TEST(ButtonCaptionPosition, DivisionsTruncateTowardZero)
{
    // (-10 + -3) / 2 = -6 (not -7); 3 / 2 = 1.
    const Point at = CaptionPosition(Rect{-10, -10, -3, -3}, 3, 3, false);
    EXPECT_EQ(at.x, -7);
    EXPECT_EQ(at.y, -7);
}

TEST(ButtonCaptionPosition, ACaptionWiderThanTheFaceStartsLeftOfIt)
{
    const Point at = CaptionPosition(Rect{2, 2, 12, 12}, 31, 5, false);
    EXPECT_EQ(at.x, -8);  // 7 - 15
    EXPECT_EQ(at.y, 5);   // 7 - 2
}

// ---- Colour layout -------------------------------------------------------------

TEST(StyleColourRef, UsesTheWin32ByteOrder)
{
    EXPECT_EQ(ToColourRef(Rgb{68, 103, 137}), 0x00896744u);
    ExpectRgb(FromColourRef(0xCFFFFF), 255, 255, 207);
    EXPECT_EQ(FromColourRef(ToColourRef(Rgb{1, 2, 3})), (Rgb{1, 2, 3}));
}
