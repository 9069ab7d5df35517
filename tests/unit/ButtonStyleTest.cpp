#include <gtest/gtest.h>

#include "ui/style/ButtonStyle.h"

using namespace tarnelix::style;

TEST(ButtonFace, BrushIndexIsClampedAndRowsStopAtTheHeight)
{
    EXPECT_EQ(FaceColour(-5, false, false), (Rgb{255, 255, 255}));
    EXPECT_EQ(FaceColour(64, true, true), FaceColour(63, true, true));
    // A 75 x 23 button, face (2, 2, 73, 21): W = 71, H = 19. The loop runs
    // while y < H, so rows 2..18 only; each spans to W + 2.
    const std::vector<FaceRow> rows = FaceRows(Rect{2, 2, 73, 21});
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows.front().brush, 6);  // 63 x 2 / 19 = 6.6
    EXPECT_EQ(rows.back().y, 18);
    EXPECT_EQ(rows.back().brush, 59);  // 63 x 18 / 19 = 59.7
    EXPECT_EQ(FaceRows(Rect{5, 0, 25, 10}).front().right, 22);  // W + 2, not the right edge 25
    EXPECT_TRUE(FaceRows(Rect{2, 10, 20, 15}).empty());         // top 10 is not below the height 5
    EXPECT_TRUE(FaceRows(Rect{2, 2, 2, 2}).empty());
    // The caption: truncating divisions, negative coordinates included.
    EXPECT_TRUE(CaptionPosition(Rect{-10, -10, -3, -3}, 3, 3, false) == (Point{-7, -7}));
    EXPECT_TRUE(CaptionPosition(Rect{2, 2, 73, 21}, 40, 13, true) == (Point{18, 6}));
}
