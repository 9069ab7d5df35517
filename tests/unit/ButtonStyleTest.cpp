#include <gtest/gtest.h>

#include "ui/style/ButtonStyle.h"

using namespace tarnelix::style;

namespace {

// A 75 x 23 pixel button with the common 2-pixel edges: the face is
// (2, 2, 73, 21), W = 71, H = 19.
constexpr Rect kItem{0, 0, 75, 23};
constexpr Rect kFace{2, 2, 73, 21};

void ExpectLine(const Line& line, Point from, Point to)
{
    EXPECT_EQ(line.from, from);
    EXPECT_EQ(line.to, to);
}

}  // namespace

// ---- Face colours and rows ---------------------------------------------------------

TEST(ButtonFaceColour, EachStateFadesItsChannelsByThirdsQuartersOrFifths)
{
    struct Case {
        int index;
        bool hot, emphasised;
        Rgb colour;
    };
    const Case cases[] = {
        {0, false, false, {255, 255, 255}},  // the first brush is white in every state
        {0, false, true, {255, 255, 255}},
        {0, true, false, {255, 255, 255}},
        {0, true, true, {255, 255, 255}},
        {10, false, false, {252, 252, 253}},  // resting: 255 - 10/3, 255 - 10/5
        {63, false, false, {234, 234, 243}},  // 255 - 21, 255 - 12
        {63, false, true, {234, 234, 240}},   // emphasised: quarters for blue
        {63, true, false, {240, 240, 243}},   // hot: quarters for red and green
        {63, true, true, {240, 240, 234}},    // hot and emphasised: thirds for blue
        {7, true, true, {254, 254, 253}},     // 255 - 1, 255 - 2
        {-5, false, false, {255, 255, 255}},  // clamped to the 64 brushes
        {64, true, true, {240, 240, 234}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FaceColour(c.index, c.hot, c.emphasised), c.colour)
            << "brush " << c.index << " hot " << c.hot << " emphasised " << c.emphasised;
    }
}

TEST(ButtonFaceBrushIndex, IsSixtyThreeTimesRowOverHeightRoundedDown)
{
    EXPECT_EQ(FaceBrushIndex(0, 19), 0);
    EXPECT_EQ(FaceBrushIndex(2, 19), 6);    // 126 / 19 = 6.6
    EXPECT_EQ(FaceBrushIndex(18, 19), 59);  // 1134 / 19 = 59.7
    EXPECT_EQ(FaceBrushIndex(19, 19), 63);
    EXPECT_EQ(FaceBrushIndex(5, 0), 0);
    EXPECT_EQ(FaceBrushIndex(5, -3), 0);
}

TEST(ButtonFaceRect, ShrinksTheItemByTheEdgeSize)
{
    EXPECT_EQ(FaceRect(kItem, 2, 2), kFace);
    EXPECT_EQ(FaceRect(Rect{10, 20, 40, 50}, 1, 3), (Rect{11, 23, 39, 47}));
}

TEST(ButtonFaceRows, RunFromTheFaceTopWhileRowIsBelowTheHeightAndSpanToWidthPlusTwo)
{
    const std::vector<FaceRow> rows = FaceRows(kFace);
    ASSERT_EQ(rows.size(), 17u);  // rows 2..18: the two rows above the face bottom stay unpainted
    EXPECT_EQ(rows.front().y, 2);
    EXPECT_EQ(rows.back().y, 18);
    for (const FaceRow& row : rows) {
        EXPECT_EQ(row.left, 2);
        EXPECT_EQ(row.right, 73);  // 71 + 2, the face's right edge
    }
    const std::vector<FaceRow> shifted = FaceRows(Rect{5, 0, 25, 10});
    ASSERT_FALSE(shifted.empty());
    EXPECT_EQ(shifted.front().right, 22);  // W + 2, not the right edge 25

    EXPECT_TRUE(FaceRows(Rect{2, 2, 2, 2}).empty());
    EXPECT_TRUE(FaceRows(Rect{2, 2, 10, 1}).empty());
    EXPECT_TRUE(FaceRows(Rect{2, 10, 20, 15}).empty());  // top 10 is not below the height 5
}

TEST(ButtonFaceRows, TopAndBottomRowColoursOfARestingAndAHotPressedButton)
{
    const std::vector<FaceRow> rows = FaceRows(kFace);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().brush, 6);
    EXPECT_EQ(rows.back().brush, 59);
    EXPECT_EQ(FaceColour(rows.front().brush, false, false), (Rgb{253, 253, 254}));  // 255 - 2, 255 - 1
    EXPECT_EQ(FaceColour(rows.back().brush, false, false), (Rgb{236, 236, 244}));   // 255 - 19, 255 - 11
    EXPECT_EQ(FaceColour(rows.front().brush, true, true), (Rgb{254, 254, 253}));    // 255 - 6/4, 255 - 6/3
    EXPECT_EQ(FaceColour(rows.back().brush, true, true), (Rgb{241, 241, 236}));     // 255 - 59/4, 255 - 59/3

    const std::vector<FaceRow> atOrigin = FaceRows(Rect{0, 0, 10, 8});
    ASSERT_EQ(atOrigin.size(), 8u);  // ends one row above its bottom
    EXPECT_EQ(FaceColour(atOrigin.front().brush, false, false), (Rgb{255, 255, 255}));
    EXPECT_EQ(atOrigin.back().brush, 55);  // 63 * 7 / 8 = 55.1
    EXPECT_EQ(atOrigin.back().right, 12);
}

// ---- Frame and item state ------------------------------------------------------------

TEST(ButtonFrameLines, FollowTheFaceEdgesInsetByTwoAndThree)
{
    const FrameLines lines = FrameLinesFor(kFace);
    ExpectLine(lines.left, {2, 18}, {2, 4});
    ExpectLine(lines.right, {72, 18}, {72, 4});
    ExpectLine(lines.top, {4, 2}, {71, 2});
    ExpectLine(lines.bottom, {4, 21}, {71, 21});
}

TEST(ButtonItemStateDecode, FocusPressedAndDefaultEmphasiseDisabledDoesNot)
{
    struct Case {
        unsigned itemState;
        bool focused, pressed, disabled, emphasised;
    };
    const Case cases[] = {
        {kItemFocus, true, false, false, true},
        {kItemSelected, false, true, false, true},
        {kItemDefault, false, false, false, true},
        {kItemDisabled, false, false, true, false},
        {0, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << std::hex << c.itemState);
        const ButtonItemState state = DecodeItemState(c.itemState);
        EXPECT_EQ(state.focused, c.focused);
        EXPECT_EQ(state.pressed, c.pressed);
        EXPECT_EQ(state.disabled, c.disabled);
        EXPECT_EQ(state.emphasised, c.emphasised);
    }
    EXPECT_FALSE(HasFrame(false, false));
    EXPECT_TRUE(HasFrame(true, false));
    EXPECT_TRUE(HasFrame(false, true));
}

// ---- Caption -----------------------------------------------------------------

TEST(ButtonCaptionPosition, CentresOnTheFaceWithTruncatingDivisions)
{
    struct Case {
        Rect face;
        int width, height;
        bool pressed;
        Point at;
    };
    const Case cases[] = {
        {kFace, 40, 13, false, {17, 5}},  // 75 / 2 - 40 / 2 = 37 - 20, 23 / 2 - 13 / 2 = 11 - 6
        {kFace, 40, 13, true, {18, 6}},   // pressed: one pixel right and down
        {kFace, 41, 14, false, {17, 4}},  // odd sizes lose their half pixel
        {{-10, -10, -3, -3}, 3, 3, false, {-7, -7}},  // (-10 + -3) / 2 = -6, not -7; 3 / 2 = 1
        {{2, 2, 12, 12}, 31, 5, false, {-8, 5}},      // wider than the face: 7 - 15
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << (c.pressed ? " pressed" : ""));
        const Point at = CaptionPosition(c.face, c.width, c.height, c.pressed);
        EXPECT_EQ(at.x, c.at.x);
        EXPECT_EQ(at.y, c.at.y);
    }
}

TEST(StyleColourRef, UsesTheWin32ByteOrder)
{
    EXPECT_EQ(ToColourRef(Rgb{68, 103, 137}), 0x00896744u);
    EXPECT_EQ(FromColourRef(0xCFFFFF), (Rgb{255, 255, 207}));
    EXPECT_EQ(FromColourRef(ToColourRef(Rgb{1, 2, 3})), (Rgb{1, 2, 3}));
}
