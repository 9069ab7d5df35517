#include <gtest/gtest.h>

#include <vector>

#include "ui/core/NoticePlacement.h"

using tarnelix::Placement;
using tarnelix::PlaceFromBitmap;
using tarnelix::Rect;
using tarnelix::ShouldShowKillNotice;
using tarnelix::SlideResult;
using tarnelix::SlideState;
using tarnelix::SlideStep;

namespace {

// 1024 × 768 screen with a 30-pixel taskbar at the bottom.
constexpr Rect kWorkArea{0, 0, 1024, 738};
constexpr int kNoticeWidth = 200;

}  // namespace

TEST(NoticePlacement, BitmapAndFrameInTheLowerRightCornerOfTheWorkAreasSize)
{
    // 180 × 90 bitmap, 2-pixel frame on each side: 184 × 94 window at
    // 1024 - 184 = 840, 738 - 94 = 644.
    const Placement placement = PlaceFromBitmap(kWorkArea, 180, 90, 4, 4);
    EXPECT_EQ(placement.x, 840);
    EXPECT_EQ(placement.y, 644);
    EXPECT_EQ(placement.width, 184);
    EXPECT_EQ(placement.height, 94);
    // Taskbar on the left, 60 wide: the work area is 964 wide, so x is
    // 964 - 184 = 780 rather than 840 (its size counts, not its corner).
    const Placement left = PlaceFromBitmap(Rect{60, 0, 1024, 768}, 180, 90, 4, 4);
    EXPECT_EQ(left.x, 780);
    EXPECT_EQ(left.y, 674);
}

TEST(KillNoticeSlide, OneRunRisesTo90AndFallsTo15ThenHides)
{
    SlideState state;
    std::vector<int> heights;
    std::vector<bool> hides;
    for (int tick = 0; tick < 10; ++tick) {
        const SlideResult result = SlideStep(state, true, kWorkArea, kNoticeWidth);
        ASSERT_TRUE(result.place);
        heights.push_back(result.placement.height);
        hides.push_back(result.hide);
        if (tick == 0) {  // 15 × 2 = 30 high on the bottom right of the work area
            EXPECT_EQ(result.placement.x, 824);  // 1024 - 200
            EXPECT_EQ(result.placement.y, 708);  // 738 - 30
            EXPECT_EQ(result.placement.width, 200);
        }
    }
    EXPECT_EQ(heights, (std::vector<int>{30, 45, 60, 75, 90, 75, 60, 45, 30, 15}));
    EXPECT_EQ(hides, (std::vector<bool>{false, false, false, false, false, false, false, false, false, true}));
    // Ready for the next run.
    EXPECT_EQ(state.step, 2);
    EXPECT_TRUE(state.rising);
}

TEST(KillNoticeSlide, HiddenNoticeStaysWhereItIs)
{
    SlideState state;
    state.step = 4;
    const SlideResult result = SlideStep(state, false, kWorkArea, kNoticeWidth);
    EXPECT_FALSE(result.place);
    EXPECT_FALSE(result.hide);
    EXPECT_EQ(state.step, 4);
}

TEST(KillNoticeSlide, WorkAreaBelowATopTaskbarKeepsTheBottomEdge)
{
    // Taskbar at the top, 30 high: y = 738 - 30 = 708 and the bottom edge is
    // the work area's 768, so the window is 60 high.
    SlideState state;
    const SlideResult result = SlideStep(state, true, Rect{0, 30, 1024, 768}, kNoticeWidth);
    EXPECT_EQ(result.placement.y, 708);
    EXPECT_EQ(result.placement.height, 60);
}

TEST(KillNoticeGate, ShownOnlyWhenNothingIsOnScreenAndRising)
{
    SlideState rising;
    EXPECT_TRUE(ShouldShowKillNotice(false, rising, false));
    EXPECT_FALSE(ShouldShowKillNotice(true, rising, false));  // already sliding
    EXPECT_FALSE(ShouldShowKillNotice(false, rising, true));  // timed notice up
    SlideState falling;
    falling.rising = false;
    falling.step = 3;
    EXPECT_FALSE(ShouldShowKillNotice(false, falling, false));
}

TEST(KillNoticeGate, TenKillsInOneSecondGiveOneSlide)
{
    SlideState state;
    bool visible = false;
    int shows = 0;
    // A tick every 300 ms, a kill every 100 ms.
    for (int ms = 0; ms < 1000; ms += 100) {
        if (ShouldShowKillNotice(visible, state, false)) {
            visible = true;
            ++shows;
        }
        if (ms % 300 == 0 && SlideStep(state, visible, kWorkArea, kNoticeWidth).hide) {
            visible = false;
        }
    }
    EXPECT_EQ(shows, 1);
}
