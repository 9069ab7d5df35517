#include <gtest/gtest.h>

#include "ui/style/ButtonStyle.h"

using namespace tarnelix::style;

// The look test paints by these rows, so their numbers are checked here.
TEST(ButtonFace, RowsStopAtTheHeightAndShadeDownWithAClampedBrush)
{
    // A 75 x 23 button, face (2, 2, 73, 21): W = 71, H = 19. The loop runs
    // while y < H, so rows 2..18 only; each spans to W + 2.
    const std::vector<FaceRow> rows = FaceRows(Rect{2, 2, 73, 21});
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows.front().brush, 6);  // 63 x 2 / 19 = 6.6
    EXPECT_EQ(rows.back().brush, 59);  // 63 x 18 / 19 = 59.7
    EXPECT_EQ(FaceRows(Rect{5, 0, 25, 10}).front().right, 22);  // W + 2, not the right edge 25
    EXPECT_EQ(FaceColour(64, true, true), FaceColour(63, true, true));
}
