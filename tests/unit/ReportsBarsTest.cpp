#include <gtest/gtest.h>

#include <cstdint>

#include "common/Counters.h"
#include "ui/core/ReportBars.h"

using tarnelix::BarGeometry;
using tarnelix::BarValue;
using tarnelix::ComputeBar;
using tarnelix::ReportBarsState;

namespace {

Counters Popups(std::int32_t total, std::int32_t run)
{
    Counters counters;
    counters.popupTotal = total;
    counters.popupRun = run;
    return counters;
}

}  // namespace

TEST(ReportsBarGeometry, RunBarIsProportionalAndTruncatedTotalBarFull)
{
    // 3 × 122 / 10 = 36.6 → 36, top 200 - 36 = 164.
    const BarGeometry run = ComputeBar(1, Popups(10, 3));
    EXPECT_TRUE(run.visible);
    EXPECT_EQ(run.height, 36);
    EXPECT_EQ(run.top, 164);
    EXPECT_EQ(run.left, 130);
    EXPECT_EQ(run.width, 39);
    EXPECT_EQ(run.caption, "   3");
    EXPECT_EQ(run.value, 3u);
    const BarGeometry total = ComputeBar(0, Popups(10, 3));
    EXPECT_EQ(total.height, 122);
    EXPECT_EQ(total.top, 78);  // 200 - 122
    EXPECT_EQ(total.left, 44);
    EXPECT_EQ(total.caption, "   10");
}

TEST(ReportsBarGeometry, HeightsOfTheFourBarsForEdgeCounts)
{
    Counters adware;
    adware.adwareTotal = 4;
    adware.adwareRun = 1;
    const struct {
        const char* what;
        int bar;
        Counters counters;
        bool visible;
        int height, left;
    } cases[] = {
        {"first kill of a run: total", 0, Popups(1, 1), true, 122, 44},
        {"first kill of a run: run", 1, Popups(1, 1), true, 122, 130},  // 1 × 122 / 1
        {"adware total", 2, adware, true, 122, 216},
        {"adware run", 3, adware, true, 30, 302},  // 1 × 122 / 4 = 30.5 → 30
        {"zero total", 0, Popups(0, 0), false, 0, 44},
        {"zero run", 1, Popups(0, 0), false, 0, 130},
        {"run without a total", 1, Popups(0, 5), true, 122, 130},  // no division by zero
        // 40,000,000 × 122 exceeds 2^32; in 64 bits it is half of 80,000,000.
        {"large counts", 1, Popups(80000000, 40000000), true, 61, 130},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const BarGeometry bar = ComputeBar(c.bar, c.counters);
        EXPECT_EQ(bar.visible, c.visible);
        if (c.visible) {
            EXPECT_EQ(bar.height, c.height);
            EXPECT_EQ(bar.top, 200 - c.height);
            EXPECT_EQ(bar.left, c.left);
        }
    }
    EXPECT_FALSE(ComputeBar(4, Popups(10, 3)).visible);
    EXPECT_FALSE(ComputeBar(-1, Popups(10, 3)).visible);
}

TEST(ReportsBarGeometry, NegativeTotalFromTheRegistryIsCaptionedAsStored)
{
    const BarGeometry bar = ComputeBar(0, Popups(-4, 0));
    EXPECT_TRUE(bar.visible);
    EXPECT_EQ(bar.caption, "   -4");
    EXPECT_EQ(BarValue(0, Popups(-4, 0)), 4294967292u);
}

TEST(ReportsBarRefresh, NewValueIsDrawnOnceZeroHidesEveryTimeBarsAreTrackedApart)
{
    ReportBarsState state;
    EXPECT_TRUE(state.NeedsUpdate(0, 5));
    EXPECT_EQ(state.LastShown(0), 5u);
    EXPECT_FALSE(state.NeedsUpdate(0, 5));
    EXPECT_TRUE(state.NeedsUpdate(0, 6));

    EXPECT_TRUE(state.NeedsUpdate(1, 0));
    state.NeedsUpdate(1, 9);
    EXPECT_TRUE(state.NeedsUpdate(1, 0));  // reset: hide
    EXPECT_EQ(state.LastShown(1), 0u);
    EXPECT_TRUE(state.NeedsUpdate(1, 9));  // shown again after the reset

    state.NeedsUpdate(2, 7);
    EXPECT_TRUE(state.NeedsUpdate(3, 7));
    EXPECT_FALSE(state.NeedsUpdate(2, 7));
    EXPECT_FALSE(state.NeedsUpdate(4, 7));
}
