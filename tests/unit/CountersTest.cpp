#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "app/core/Counters.h"
#include "support/FakeSettings.h"

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

std::string Stored(const FakeSettings& settings, const std::string& entry)
{
    return settings.GetProfileString("Settings", entry, "<missing>");
}

}  // namespace

TEST(CountersLoad, ReadsDecimalTextAndStopsAtTheFirstOtherCharacter)
{
    FakeSettings settings;
    settings.PlantText("Settings", "PopupCounter", std::string("12abc") + '\0');
    settings.PlantText("Settings", "VeilmarkCounter", std::string(" 7") + '\0');
    Counters counters;
    counters.popupRun = 4;
    LoadCounters(settings, counters);
    EXPECT_EQ(counters.popupTotal, 12);
    EXPECT_EQ(counters.adwareTotal, 0);  // missing
    EXPECT_EQ(counters.addOnTotal, 7);
    EXPECT_EQ(counters.popupRun, 4);  // counts of this run are not stored
}

TEST(CountersLoad, TextThatIsNoNumberReadsAsZero)
{
    FakeSettings settings;
    settings.PlantText("Settings", "AdwareCounter", std::string("many") + '\0');
    Counters counters;
    counters.adwareTotal = 9;
    LoadCounters(settings, counters);
    EXPECT_EQ(counters.adwareTotal, 0);
}

TEST(CountersSave, WritesTheThreeTotalsAsDecimalText)
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
}

TEST(CountersSave, FailedWritesAreReported)
{
    FakeSettings settings;
    settings.failWrites = true;
    EXPECT_FALSE(SaveCounters(settings, Counters{}));
}

TEST(CountersKill, PopupAndAdwareKindsCountTotalAndRun)
{
    Counters counters{10, 2, 5, 1, 8};
    EXPECT_TRUE(AddKill(counters, kKillKindPopup));
    EXPECT_TRUE(AddKill(counters, kKillKindAdware));
    EXPECT_EQ(counters.popupTotal, 11);
    EXPECT_EQ(counters.popupRun, 3);
    EXPECT_EQ(counters.adwareTotal, 6);
    EXPECT_EQ(counters.adwareRun, 2);
    EXPECT_EQ(counters.addOnTotal, 8);
}

TEST(CountersKill, OtherKindChangesNothing)
{
    Counters counters{10, 2, 5, 1, 8};
    EXPECT_FALSE(AddKill(counters, 102));
    EXPECT_FALSE(AddKill(counters, 0));
    EXPECT_EQ(counters.popupTotal, 10);
    EXPECT_EQ(counters.adwareTotal, 5);
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

TEST(CountersKill, AddOnRunAddsOne)
{
    Counters counters;
    counters.addOnTotal = 41;
    AddAddOnRun(counters);
    EXPECT_EQ(counters.addOnTotal, 42);
}

TEST(CountersLoad, StoredValueBeyondInt32LoadsAsTheLimit)
{
    FakeSettings settings;
    settings.PlantText("Settings", "PopupCounter", std::string("99999999999") + '\0');
    Counters counters;
    LoadCounters(settings, counters);
    EXPECT_EQ(counters.popupTotal, kMax);
    AddKill(counters, kKillKindPopup);
    EXPECT_EQ(counters.popupTotal, kMax);
}
