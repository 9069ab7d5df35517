#include <gtest/gtest.h>

#include "ui/style/ButtonStyle.h"

using namespace tarnelix::style;

// A 75 x 23 pixel button with the common 2-pixel edges: the face is
// (2, 2, 73, 21), W = 71, H = 19.
constexpr Rect kFace{2, 2, 73, 21};

TEST(ButtonFace, ColoursFadeByThirdsQuartersOrFifthsAndRowsStopAtTheHeight)
{
    const struct {
        int index;
        bool hot, emphasised;
        Rgb colour;
    } colours[] = {
        {0, true, true, {255, 255, 255}},     // the first brush is white in every state
        {63, false, false, {234, 234, 243}},  // resting: 255 - 63/3, 255 - 63/5
        {63, false, true, {234, 234, 240}},   // emphasised: quarters for blue
        {63, true, false, {240, 240, 243}},   // hot: quarters for red and green
        {63, true, true, {240, 240, 234}},    // hot and emphasised: thirds for blue
        {-5, false, false, {255, 255, 255}},  // clamped to the 64 brushes
        {64, true, true, {240, 240, 234}},
    };
    for (const auto& c : colours) {
        EXPECT_EQ(FaceColour(c.index, c.hot, c.emphasised), c.colour) << "brush " << c.index;
    }
    // Rows 2..18: the loop runs while y < H, so the two rows above the face
    // bottom stay unpainted; each row spans to W + 2, the face's right edge.
    const std::vector<FaceRow> rows = FaceRows(kFace);
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows.front().y, 2);
    EXPECT_EQ(rows.front().brush, 6);  // 63 × 2 / 19 = 6.6
    EXPECT_EQ(rows.back().y, 18);
    EXPECT_EQ(rows.back().brush, 59);  // 63 × 18 / 19 = 59.7
    EXPECT_EQ(rows.back().left, 2);
    EXPECT_EQ(rows.back().right, 73);
    EXPECT_EQ(FaceRows(Rect{5, 0, 25, 10}).front().right, 22);  // W + 2, not the right edge 25
    EXPECT_TRUE(FaceRows(Rect{2, 10, 20, 15}).empty());         // top 10 is not below the height 5
    EXPECT_TRUE(FaceRows(Rect{2, 2, 2, 2}).empty());
}

TEST(ButtonCaption, CentresOnTheFaceWithTruncatingDivisions)
{
    const struct {
        Rect face;
        int width, height;
        bool pressed;
        Point at;
    } cases[] = {
        {kFace, 40, 13, false, {17, 5}},  // 75 / 2 - 40 / 2 = 37 - 20, 23 / 2 - 13 / 2 = 11 - 6
        {kFace, 40, 13, true, {18, 6}},   // pressed: one pixel right and down
        {kFace, 41, 14, false, {17, 4}},  // odd sizes lose their half pixel
        {{-10, -10, -3, -3}, 3, 3, false, {-7, -7}},  // (-10 + -3) / 2 = -6, not -7; 3 / 2 = 1
        {{2, 2, 12, 12}, 31, 5, false, {-8, 5}},      // wider than the face: 7 - 15
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(CaptionPosition(c.face, c.width, c.height, c.pressed) == c.at) << c.width << " x " << c.height;
    }
}
