#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "app/core/Counters.h"
#include "support/FakeClock.h"
#include "support/FakeSettings.h"
#include "ui/core/NoticeRules.h"
#include "ui/core/Stamps.h"

using tarnelix::FormatStamp;
using tarnelix::NoticeDecision;
using tarnelix::NoticeGate;
using tarnelix::NotificationKind;
using tarnelix::TimerTickKinds;

namespace {

constexpr std::int64_t kFourDays = 345600;
constexpr std::int64_t kThreeDays = 259200;

// Midsummer noon local time: the four days after it cross no daylight
// saving change anywhere, so a stamp written and read back is the same
// second.
std::int64_t Midsummer2004()
{
    std::tm fields{};
    fields.tm_year = 2004 - 1900;
    fields.tm_mon = 5;
    fields.tm_mday = 15;
    fields.tm_hour = 12;
    fields.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&fields));
}

std::string Notifications(const FakeSettings& settings, const std::string& entry)
{
    return settings.GetProfileString("Notifications", entry, "<missing>");
}

struct GateFixture : ::testing::Test {
    FakeSettings settings;
    FakeClock clock{Midsummer2004()};
    NoticeGate gate{settings, clock};
    Counters counters;

    NoticeDecision Ask(NotificationKind kind, bool disable = false)
    {
        return gate.Decide(kind, disable, counters);
    }
    // A notice that was allowed and then put on screen.
    void ShowStartUp()
    {
        ASSERT_TRUE(Ask(NotificationKind::StartUp).show);
        gate.Shown();
    }
    void Plant(const std::string& entry, std::int64_t when)
    {
        settings.PlantText("Notifications", entry, FormatStamp(when) + '\0');
    }
};

}  // namespace

using NoticeStartUp = GateFixture;

TEST_F(NoticeStartUp, FirstRequestOfARunIsShownWithTheCounters)
{
    counters.popupTotal = 12;
    counters.adwareTotal = 3;
    counters.addOnTotal = 7;
    const NoticeDecision decision = Ask(NotificationKind::StartUp);
    EXPECT_TRUE(decision.show);
    EXPECT_EQ(decision.bitmapFile, "StartUp1.bmp");
    EXPECT_TRUE(decision.showLabels);
    EXPECT_EQ(decision.label1052, "15");  // 12 popups + 3 adware
    EXPECT_EQ(decision.label1053, "7");
    EXPECT_FALSE(decision.clearInstalledFlag);
}

TEST_F(NoticeStartUp, WritesTheStampOfNowToLastShowStartUp)
{
    Ask(NotificationKind::StartUp);
    EXPECT_EQ(Notifications(settings, "LastShowStartUp"), FormatStamp(clock.Now()));
    EXPECT_EQ(gate.LastShownStamp(), FormatStamp(clock.Now()));
}

TEST_F(NoticeStartUp, TotalOfTwoHugeCountersDoesNotWrap)
{
    counters.popupTotal = 2147483647;
    counters.adwareTotal = 2147483647;
    EXPECT_EQ(Ask(NotificationKind::StartUp).label1052, "4294967294");
}

using NoticeSpacing = GateFixture;

TEST_F(NoticeSpacing, SecondNoticeWaitsFiveMinutes)
{
    ShowStartUp();
    clock.Advance(299);
    EXPECT_FALSE(Ask(NotificationKind::DownloadsUpdates).show);
    clock.Advance(1);  // 300 s after the start-up notice
    EXPECT_TRUE(Ask(NotificationKind::DownloadsUpdates).show);
}

TEST_F(NoticeSpacing, ClockSetBackBeforeTheStampWaits)
{
    ShowStartUp();
    clock.Advance(-3600);
    EXPECT_FALSE(Ask(NotificationKind::DownloadsUpdates).show);
    clock.Advance(3600 + 299);
    EXPECT_FALSE(Ask(NotificationKind::DownloadsUpdates).show);
    clock.Advance(1);
    EXPECT_TRUE(Ask(NotificationKind::DownloadsUpdates).show);
}

TEST_F(NoticeSpacing, RefusedRequestWritesNothing)
{
    ShowStartUp();
    const std::size_t writes = settings.writeCount;
    clock.Advance(10);
    EXPECT_FALSE(Ask(NotificationKind::AddOnNotice).show);
    EXPECT_EQ(settings.writeCount, writes);
}

TEST_F(NoticeSpacing, NoticeThatFailedToShowDoesNotRenewTheStamp)
{
    ShowStartUp();
    const std::string first = gate.LastShownStamp();
    clock.Advance(300);
    ASSERT_TRUE(Ask(NotificationKind::DownloadsUpdates).show);
    // The bitmap did not load: Shown() is never called.
    EXPECT_EQ(gate.LastShownStamp(), first);
    clock.Advance(1);
    EXPECT_TRUE(Ask(NotificationKind::DownloadsUpdates).show);
}

TEST_F(NoticeSpacing, ShownTakesTheTimeOfTheDecision)
{
    ASSERT_TRUE(Ask(NotificationKind::StartUp).show);
    const std::string decidedAt = FormatStamp(clock.Now());
    clock.Advance(2);  // loading and placing took a moment
    gate.Shown();
    EXPECT_EQ(gate.LastShownStamp(), decidedAt);
}

TEST_F(NoticeSpacing, FirstRequestSetsTheStampEvenWhenItShowsNothing)
{
    // No "LastCheckUpdates": stored, not shown; the spacing has started.
    EXPECT_FALSE(Ask(NotificationKind::CheckUpdates).show);
    EXPECT_EQ(gate.LastShownStamp(), FormatStamp(clock.Now()));
    EXPECT_FALSE(Ask(NotificationKind::AddOnNotice).show);
}

using NoticeCheckUpdates = GateFixture;

TEST_F(NoticeCheckUpdates, MissingValueIsWrittenAndNothingShown)
{
    const NoticeDecision decision = Ask(NotificationKind::CheckUpdates);
    EXPECT_FALSE(decision.show);
    EXPECT_EQ(Notifications(settings, "LastCheckUpdates"), FormatStamp(clock.Now()));
}

TEST_F(NoticeCheckUpdates, ThreeDaysAnd23HoursOldIsNotShown)
{
    Plant("LastCheckUpdates", clock.Now() - (kFourDays - 1));  // 345,599 s
    const std::size_t writes = settings.writeCount;
    EXPECT_FALSE(Ask(NotificationKind::CheckUpdates).show);
    EXPECT_EQ(settings.writeCount, writes);
}

TEST_F(NoticeCheckUpdates, ExactlyFourDaysOldIsShownAndRestamped)
{
    Plant("LastCheckUpdates", clock.Now() - kFourDays);  // 345,600 s
    const NoticeDecision decision = Ask(NotificationKind::CheckUpdates);
    EXPECT_TRUE(decision.show);
    EXPECT_EQ(decision.bitmapFile, "CheckUpdates.bmp");
    EXPECT_FALSE(decision.showLabels);
    EXPECT_EQ(Notifications(settings, "LastCheckUpdates"), FormatStamp(clock.Now()));
}

TEST_F(NoticeCheckUpdates, UnreadableValueCountsAsLongAgo)
{
    settings.PlantText("Notifications", "LastCheckUpdates", std::string("soon") + '\0');
    EXPECT_TRUE(Ask(NotificationKind::CheckUpdates).show);
}

TEST_F(NoticeCheckUpdates, StoredTimeInTheFutureWaitsForIt)
{
    Plant("LastCheckUpdates", clock.Now() + 3600);
    EXPECT_FALSE(Ask(NotificationKind::CheckUpdates).show);
}

using NoticeAddOn = GateFixture;

TEST_F(NoticeAddOn, MissingValueShowsAndStoresNow)
{
    const NoticeDecision decision = Ask(NotificationKind::AddOnNotice);
    EXPECT_TRUE(decision.show);
    EXPECT_EQ(decision.bitmapFile, "Veilmark.bmp");
    EXPECT_EQ(Notifications(settings, "LastShowVeilmark"), FormatStamp(clock.Now()));
}

TEST_F(NoticeAddOn, ExactlyThreeDaysOldIsShown)
{
    Plant("LastShowVeilmark", clock.Now() - kThreeDays);  // 259,200 s
    EXPECT_TRUE(Ask(NotificationKind::AddOnNotice).show);
}

TEST_F(NoticeAddOn, OneSecondShortOfThreeDaysIsNotShown)
{
    Plant("LastShowVeilmark", clock.Now() - (kThreeDays - 1));
    EXPECT_FALSE(Ask(NotificationKind::AddOnNotice).show);
}

using NoticeInstalledUpdates = GateFixture;

TEST_F(NoticeInstalledUpdates, WithoutTheFlagNothingIsShownOrWritten)
{
    EXPECT_FALSE(Ask(NotificationKind::InstalledUpdates).show);
    EXPECT_FALSE(settings.Has("Notifications", "LastShowInstallUpdates"));
}

TEST_F(NoticeInstalledUpdates, WritesTheStampAsItStandsAndClearsTheFlag)
{
    ShowStartUp();
    const std::string startUpStamp = gate.LastShownStamp();
    gate.SetInstalledUpdates();
    clock.Advance(600);
    const NoticeDecision decision = Ask(NotificationKind::InstalledUpdates);
    EXPECT_TRUE(decision.show);
    EXPECT_EQ(decision.bitmapFile, "InstalledUpdates.bmp");
    EXPECT_TRUE(decision.clearInstalledFlag);
    EXPECT_FALSE(gate.InstalledUpdatesPending());
    // The previous notice's time, not now (600 s later).
    EXPECT_EQ(Notifications(settings, "LastShowInstallUpdates"), startUpStamp);
}

TEST_F(NoticeInstalledUpdates, FirstNoticeOfTheRunWritesNow)
{
    gate.SetInstalledUpdates();
    Ask(NotificationKind::InstalledUpdates);
    EXPECT_EQ(Notifications(settings, "LastShowInstallUpdates"), FormatStamp(clock.Now()));
}

TEST_F(NoticeInstalledUpdates, FlagStaysSetWhileTheSpacingHoldsItBack)
{
    ShowStartUp();
    gate.SetInstalledUpdates();
    clock.Advance(60);
    EXPECT_FALSE(Ask(NotificationKind::InstalledUpdates).show);
    EXPECT_TRUE(gate.InstalledUpdatesPending());
    clock.Advance(240);  // 300 s after the start-up notice
    EXPECT_TRUE(Ask(NotificationKind::InstalledUpdates).show);
}

using NoticeDisable = GateFixture;

TEST_F(NoticeDisable, SuppressesEveryKindWithoutWrites)
{
    gate.SetInstalledUpdates();
    for (int kind = 1; kind <= 5; ++kind) {
        EXPECT_FALSE(Ask(static_cast<NotificationKind>(kind), true).show) << kind;
    }
    EXPECT_EQ(settings.writeCount, 0u);
    EXPECT_TRUE(gate.LastShownStamp().empty());
    EXPECT_TRUE(gate.InstalledUpdatesPending());
}

TEST_F(NoticeDisable, StartUpAfterDisableIsStillTheFirstOfTheRun)
{
    Ask(NotificationKind::StartUp, true);
    EXPECT_TRUE(Ask(NotificationKind::StartUp).show);
}

using NoticeDownloadsUpdates = GateFixture;

TEST_F(NoticeDownloadsUpdates, ShownAtEveryRequestAndStampsNow)
{
    const NoticeDecision decision = Ask(NotificationKind::DownloadsUpdates);
    EXPECT_TRUE(decision.show);
    EXPECT_EQ(decision.bitmapFile, "DownloadsUpdates.bmp");
    EXPECT_EQ(Notifications(settings, "LastShowDownloadUpdates"), FormatStamp(clock.Now()));
}

using NoticeRegistryFailure = GateFixture;

TEST_F(NoticeRegistryFailure, FailedWritesDoNotStopTheNotice)
{
    settings.failWrites = true;
    EXPECT_TRUE(Ask(NotificationKind::AddOnNotice).show);
}

TEST(NoticeTimerTick, OnlineAsksForReminderThenAddOnThenInstalled)
{
    const std::vector<NotificationKind> expected{NotificationKind::CheckUpdates, NotificationKind::AddOnNotice,
                                                 NotificationKind::InstalledUpdates};
    EXPECT_EQ(TimerTickKinds(true), expected);
}

TEST(NoticeTimerTick, OfflineAsksOnlyForInstalledUpdates)
{
    EXPECT_EQ(TimerTickKinds(false), std::vector<NotificationKind>{NotificationKind::InstalledUpdates});
}

using NoticeFirstRun = GateFixture;

// A machine without any "Notifications" value: the start-up notice at once;
// five minutes later one tick stores "LastCheckUpdates" silently and shows
// the add-on notice.
TEST_F(NoticeFirstRun, StartUpThenAddOnNoticeFiveMinutesLater)
{
    ShowStartUp();
    clock.Advance(300);
    std::vector<std::string> shown;
    for (NotificationKind kind : TimerTickKinds(true)) {
        const NoticeDecision decision = Ask(kind);
        if (decision.show) {
            shown.push_back(decision.bitmapFile);
            gate.Shown();
        }
    }
    EXPECT_EQ(shown, std::vector<std::string>{"Veilmark.bmp"});
    EXPECT_EQ(Notifications(settings, "LastCheckUpdates"), FormatStamp(clock.Now()));
}

TEST_F(NoticeFirstRun, TwoDueNoticesAppearOneTickApart)
{
    ShowStartUp();
    Plant("LastCheckUpdates", clock.Now() - kFourDays);
    clock.Advance(300);
    std::vector<std::string> shown;
    for (int tick = 0; tick < 6; ++tick) {
        for (NotificationKind kind : TimerTickKinds(true)) {
            const NoticeDecision decision = Ask(kind);
            if (decision.show) {
                shown.push_back(decision.bitmapFile);
                gate.Shown();
            }
        }
        clock.Advance(60);
    }
    // Reminder at the first tick; the add-on notice five ticks (300 s) on.
    EXPECT_EQ(shown, (std::vector<std::string>{"CheckUpdates.bmp", "Veilmark.bmp"}));
}
