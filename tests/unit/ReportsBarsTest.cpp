#include <gtest/gtest.h>

#include <cstdint>

#include "app/core/Counters.h"
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

TEST(ReportsBarGeometry, RunBarIsProportionalAndTruncated)
{
    // 3 × 122 / 10 = 36.6 → 36, top 200 - 36 = 164.
    const BarGeometry bar = ComputeBar(1, Popups(10, 3));
    EXPECT_TRUE(bar.visible);
    EXPECT_EQ(bar.height, 36);
    EXPECT_EQ(bar.top, 164);
    EXPECT_EQ(bar.left, 130);
    EXPECT_EQ(bar.width, 39);
    EXPECT_EQ(bar.caption, "   3");
    EXPECT_EQ(bar.value, 3u);
}

TEST(ReportsBarGeometry, TotalBarStandsAtFullHeight)
{
    const BarGeometry bar = ComputeBar(0, Popups(10, 3));
    EXPECT_EQ(bar.height, 122);
    EXPECT_EQ(bar.top, 78);  // 200 - 122
    EXPECT_EQ(bar.left, 44);
    EXPECT_EQ(bar.caption, "   10");
}

TEST(ReportsBarGeometry, FirstKillOfARunGivesTwoFullBars)
{
    const Counters counters = Popups(1, 1);
    EXPECT_EQ(ComputeBar(0, counters).height, 122);
    EXPECT_EQ(ComputeBar(1, counters).height, 122);  // 1 × 122 / 1
    EXPECT_EQ(ComputeBar(1, counters).caption, "   1");
}

TEST(ReportsBarGeometry, AdwareBarsStandAt216And302)
{
    Counters counters;
    counters.adwareTotal = 4;
    counters.adwareRun = 1;
    EXPECT_EQ(ComputeBar(2, counters).left, 216);
    const BarGeometry run = ComputeBar(3, counters);
    EXPECT_EQ(run.left, 302);
    EXPECT_EQ(run.height, 30);  // 1 × 122 / 4 = 30.5 → 30
    EXPECT_EQ(run.top, 170);
}

TEST(ReportsBarGeometry, ZeroCounterIsHidden)
{
    const Counters counters = Popups(0, 0);
    EXPECT_FALSE(ComputeBar(0, counters).visible);
    EXPECT_FALSE(ComputeBar(1, counters).visible);
}

TEST(ReportsBarGeometry, RunWithoutATotalDoesNotDivideByZero)
{
    // Cannot happen in a normal run; the bar stands at full height.
    const BarGeometry bar = ComputeBar(1, Popups(0, 5));
    EXPECT_TRUE(bar.visible);
    EXPECT_EQ(bar.height, 122);
}

TEST(ReportsBarGeometry, LargeCountsDoNotWrapThe32BitProduct)
{
    // 40,000,000 × 122 exceeds 2^32; in 64 bits it is half of 80,000,000.
    const BarGeometry bar = ComputeBar(1, Popups(80000000, 40000000));
    EXPECT_EQ(bar.height, 61);
}

TEST(ReportsBarGeometry, NegativeTotalFromTheRegistryIsCaptionedAsStored)
{
    const BarGeometry bar = ComputeBar(0, Popups(-4, 0));
    EXPECT_TRUE(bar.visible);
    EXPECT_EQ(bar.caption, "   -4");
    EXPECT_EQ(BarValue(0, Popups(-4, 0)), 4294967292u);
}

TEST(ReportsBarGeometry, IndexOutsideTheFourBarsIsInvisible)
{
    EXPECT_FALSE(ComputeBar(4, Popups(10, 3)).visible);
    EXPECT_FALSE(ComputeBar(-1, Popups(10, 3)).visible);
}

TEST(ReportsBarRefresh, NewValueIsDrawnOnceThenLeftAlone)
{
    ReportBarsState state;
    EXPECT_TRUE(state.NeedsUpdate(0, 5));
    EXPECT_EQ(state.LastShown(0), 5u);
    EXPECT_FALSE(state.NeedsUpdate(0, 5));
    EXPECT_TRUE(state.NeedsUpdate(0, 6));
}

TEST(ReportsBarRefresh, ZeroHidesEveryTimeAndIsRemembered)
{
    ReportBarsState state;
    EXPECT_TRUE(state.NeedsUpdate(1, 0));
    state.NeedsUpdate(1, 9);
    EXPECT_TRUE(state.NeedsUpdate(1, 0));  // reset: hide
    EXPECT_EQ(state.LastShown(1), 0u);
    EXPECT_TRUE(state.NeedsUpdate(1, 9));  // shown again after the reset
}

TEST(ReportsBarRefresh, BarsAreTrackedApart)
{
    ReportBarsState state;
    state.NeedsUpdate(2, 7);
    EXPECT_TRUE(state.NeedsUpdate(3, 7));
    EXPECT_FALSE(state.NeedsUpdate(2, 7));
    EXPECT_FALSE(state.NeedsUpdate(4, 7));
}
