#include <gtest/gtest.h>

#include "ui/core/NoticePlacement.h"

using namespace tarnelix;

namespace {

constexpr Rect kWorkArea{0, 0, 1024, 738};  // a 30-pixel taskbar at the bottom

}  // namespace

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
