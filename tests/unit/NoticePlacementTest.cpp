#include <gtest/gtest.h>

#include "ui/core/NoticePlacement.h"

using namespace tarnelix;

namespace {

// 1024 × 768 screen with a 30-pixel taskbar at the bottom.
constexpr Rect kWorkArea{0, 0, 1024, 738};

}  // namespace

TEST(NoticePlacement, BitmapAndFrameInTheLowerRightCornerOfTheWorkAreasSize)
{
    // 180 × 90 bitmap, 2-pixel frame on each side: 184 × 94 at
    // 1024 - 184 = 840, 738 - 94 = 644.
    const Placement placement = PlaceFromBitmap(kWorkArea, 180, 90, 4, 4);
    EXPECT_EQ(placement.x, 840);
    EXPECT_EQ(placement.y, 644);
    EXPECT_EQ(placement.width, 184);
    EXPECT_EQ(placement.height, 94);
    // Taskbar on the left, 60 wide: x is 964 - 184 = 780 (the work area's
    // size counts, not its corner).
    EXPECT_EQ(PlaceFromBitmap(Rect{60, 0, 1024, 768}, 180, 90, 4, 4).x, 780);
}

// The heights of a run (30 up to 90 and back to 15) are checked on screen by
// the Wine test; here the edges of other work areas.
TEST(KillNoticeSlide, KeepsTheWorkAreasBottomRightEdgeAndAHiddenNoticeStays)
{
    SlideState state;
    // Taskbar at the top, 30 high: at step 2, y = 738 - 30 = 708 and the
    // bottom edge is the work area's 768, so the window is 60 high.
    const SlideResult top = SlideStep(state, true, Rect{0, 30, 1024, 768}, 200);
    EXPECT_EQ(top.placement.x, 824);  // 1024 - 200
    EXPECT_EQ(top.placement.y, 708);
    EXPECT_EQ(top.placement.height, 60);
    EXPECT_EQ(state.step, 3);
    EXPECT_FALSE(SlideStep(state, false, kWorkArea, 200).place);
    EXPECT_EQ(state.step, 3);
}

// A run is ten ticks: 30, 45, 60, 75, 90, 75, 60, 45, 30, 15, then hidden.
TEST(KillNoticeGate, TenKillsInOneSecondGiveOneSlideAndNoneWhileTheTimedNoticeShows)
{
    SlideState state;
    EXPECT_FALSE(ShouldShowKillNotice(false, state, true));
    bool visible = false;
    int shows = 0;
    for (int ms = 0; ms < 1000; ms += 100) {  // a kill every 100 ms, a tick every 300 ms
        if (ShouldShowKillNotice(visible, state, false)) {
            visible = true;
            ++shows;
        }
        if (ms % 300 == 0 && SlideStep(state, visible, kWorkArea, 200).hide) {
            visible = false;
        }
    }
    EXPECT_EQ(shows, 1);
    for (int tick = 5; tick <= 10; ++tick) {  // four ticks came with the kills
        EXPECT_EQ(SlideStep(state, true, kWorkArea, 200).hide, tick == 10) << tick;
    }
    EXPECT_TRUE(state.rising && state.step == 2);  // ready for the next run
    SlideState falling;
    falling.rising = false;
    falling.step = 3;
    EXPECT_FALSE(ShouldShowKillNotice(false, falling, false));
}
