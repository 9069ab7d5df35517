#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "common/Counters.h"
#include "app/core/MainWindowLogic.h"
#include "support/FakeSettings.h"

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

std::string Stored(const FakeSettings& settings, const std::string& entry)
{
    return settings.GetProfileString("Settings", entry, "<missing>");
}

}  // namespace

TEST(CountersLoad, ReadsTheLeadingDecimalNumberOrZeroClampedAndKeepsTheRunCounts)
{
    FakeSettings settings;
    settings.PlantText("Settings", "PopupCounter", std::string("99999999999") + '\0');
    settings.PlantText("Settings", "AdwareCounter", std::string("many") + '\0');
    settings.PlantText("Settings", "VeilmarkCounter", std::string(" 7abc") + '\0');
    Counters counters{1, 4, 9, 0, 0};
    LoadCounters(settings, counters);
    EXPECT_EQ(counters.popupTotal, kMax);
    EXPECT_EQ(counters.adwareTotal, 0);
    EXPECT_EQ(counters.addOnTotal, 7);
    EXPECT_EQ(counters.popupRun, 4);  // counts of this run are not stored

    FakeSettings empty;
    LoadCounters(empty, counters);
    EXPECT_EQ(counters.popupTotal, 0);
}

TEST(CountersSave, WritesTheThreeTotalsAsDecimalTextAndReportsFailure)
{
    FakeSettings settings;
    Counters counters;
    counters.popupTotal = 42;
    counters.addOnTotal = -3;
    EXPECT_TRUE(SaveCounters(settings, counters));
    EXPECT_EQ(Stored(settings, "PopupCounter"), "42");
    EXPECT_EQ(Stored(settings, "AdwareCounter"), "0");
    EXPECT_EQ(Stored(settings, "VeilmarkCounter"), "-3");
    EXPECT_EQ(settings.writeCount, 3u);
    settings.failWrites = true;
    EXPECT_FALSE(SaveCounters(settings, counters));
}

TEST(CountersKill, PopupAndAdwareKindsCountTotalAndRunOtherKindsNothing)
{
    Counters counters{10, 2, 5, 1, 8};
    EXPECT_TRUE(AddKill(counters, kKillKindPopup));
    EXPECT_TRUE(AddKill(counters, kKillKindAdware));
    EXPECT_FALSE(AddKill(counters, 102));
    EXPECT_FALSE(AddKill(counters, 0));
    AddAddOnRun(counters);
    EXPECT_EQ(counters.popupTotal, 11);
    EXPECT_EQ(counters.popupRun, 3);
    EXPECT_EQ(counters.adwareTotal, 6);
    EXPECT_EQ(counters.adwareRun, 2);
    EXPECT_EQ(counters.addOnTotal, 9);
}

TEST(CountersKill, TotalsStopAtInt32MaxInsteadOfWrapping)
{
    Counters counters{kMax, kMax, kMax, kMax, kMax};
    AddKill(counters, kKillKindPopup);
    AddKill(counters, kKillKindAdware);
    AddAddOnRun(counters);
    EXPECT_EQ(counters.popupTotal, kMax);
    EXPECT_EQ(counters.popupRun, kMax);
    EXPECT_EQ(counters.adwareTotal, kMax);
    EXPECT_EQ(counters.adwareRun, kMax);
    EXPECT_EQ(counters.addOnTotal, kMax);
}

TEST(CounterDisplay, ShowsPopupPlusAdwareInSixDigitsOrAsksForReset)
{
    const struct {
        std::int32_t popups, adware;
        std::optional<std::string> digits;
    } cases[] = {
        {12, 3, "000015"},
        {0, 0, "000000"},
        {999000, 999, "999999"},
        {kMax, kMax, std::nullopt},  // in 32 bits the sum would wrap into a showable one
        {-5, 0, std::nullopt},       // negative sum from an edited registry
    };
    for (const auto& c : cases) {
        Counters counters;
        counters.popupTotal = c.popups;
        counters.adwareTotal = c.adware;
        EXPECT_EQ(CounterDigits(counters), c.digits) << c.popups << " + " << c.adware;
    }
}

TEST(CounterDisplay, OneKillPast999999ResetsAllButTheAddOnTotal)
{
    Counters counters{999999, 40, 0, 2, 17};
    AddKill(counters, kKillKindPopup);
    EXPECT_EQ(CounterDigits(counters), std::nullopt);
    ResetCounters(counters);
    EXPECT_EQ(counters.popupTotal, 0);
    EXPECT_EQ(counters.popupRun, 0);
    EXPECT_EQ(counters.adwareTotal, 0);
    EXPECT_EQ(counters.adwareRun, 0);
    EXPECT_EQ(counters.addOnTotal, 17);
    EXPECT_EQ(CounterDigits(counters), "000000");
}
