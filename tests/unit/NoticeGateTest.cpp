#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "support/FakeClock.h"
#include "support/FakeSettings.h"
#include "ui/core/NoticeRules.h"
#include "ui/core/Stamps.h"

using namespace tarnelix;

namespace {

constexpr std::int64_t kFourDays = 345600;
constexpr std::int64_t kThreeDays = 259200;
using Names = std::vector<std::string>;

// Seconds of a local time as this machine's C library sees it.
std::int64_t Local(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&fields));
}

// Midsummer noon: the four days after it cross no daylight saving change.
struct GateWorld {
    FakeSettings settings;
    FakeClock clock{Local(2004, 6, 15, 12)};
    NoticeGate gate{settings, clock};
    Counters counters;

    NoticeDecision Ask(NotificationKind kind, bool disable = false) { return gate.Decide(kind, disable, counters); }
    std::string Stored(const std::string& entry) const
    {
        return settings.GetProfileString("Notifications", entry, "<missing>");
    }
    void Plant(const std::string& entry, const std::string& stamp)
    {
        settings.PlantText("Notifications", entry, stamp + '\0');
    }
    // A notice that was allowed and then put on screen.
    void Show(NotificationKind kind)
    {
        ASSERT_TRUE(Ask(kind).show);
        gate.Shown();
    }
    // One tick of timer 101 while online: the bitmaps of the notices shown.
    Names Tick()
    {
        Names shown;
        for (NotificationKind kind : TimerTickKinds(true)) {
            const NoticeDecision decision = Ask(kind);
            if (decision.show) {
                shown.push_back(decision.bitmapFile);
                gate.Shown();
            }
        }
        return shown;
    }
};

struct Notice : ::testing::Test, GateWorld {};

}  // namespace

// With "Disable" checked no notice is shown and nothing is written; the
// next start-up notice is still the first of the run.
TEST_F(Notice, StartUpIsShownAtOnceWithTheCountersAndStampedUnlessDisabled)
{
    gate.SetInstalledUpdates();
    for (int kind = 1; kind <= 5; ++kind) {
        EXPECT_FALSE(Ask(static_cast<NotificationKind>(kind), true).show) << kind;
    }
    EXPECT_EQ(settings.writeCount, 0u);
    EXPECT_TRUE(gate.InstalledUpdatesPending());
    counters.popupTotal = 2147483647;
    counters.adwareTotal = 2147483647;
    counters.addOnTotal = 7;
    const NoticeDecision decision = Ask(NotificationKind::StartUp);
    EXPECT_TRUE(decision.show && decision.showLabels);
    EXPECT_EQ(decision.bitmapFile, "StartUp1.bmp");
    EXPECT_EQ(decision.label1052, "4294967294");  // both totals, summed without wrapping
    EXPECT_EQ(decision.label1053, "7");
    EXPECT_EQ(Stored("LastShowStartUp"), FormatStamp(clock.Now()));
}

TEST_F(Notice, SpacingOfFiveMinutesCountsFromTheShownDecisionEvenWithTheClockSetBack)
{
    ASSERT_TRUE(Ask(NotificationKind::StartUp).show);
    const std::string decidedAt = FormatStamp(clock.Now());
    clock.Advance(2);  // loading and placing took a moment
    gate.Shown();
    EXPECT_EQ(gate.LastShownStamp(), decidedAt);
    const std::size_t writes = settings.writeCount;
    clock.Advance(-3600);
    EXPECT_FALSE(Ask(NotificationKind::AddOnNotice).show);
    clock.Advance(3600 + 297);
    EXPECT_FALSE(Ask(NotificationKind::DownloadsUpdates).show);
    EXPECT_EQ(settings.writeCount, writes) << "a refused notice writes nothing";
    clock.Advance(1);  // 300 s after the decision
    ASSERT_TRUE(Ask(NotificationKind::DownloadsUpdates).show);
    // That bitmap did not load: Shown() is never called and the spacing
    // still counts from the start-up notice.
    EXPECT_EQ(gate.LastShownStamp(), decidedAt);
}

TEST(NoticeInterval, ReminderAfterFourDaysAddOnNoticeAfterThreeStampedWhenShown)
{
    const std::int64_t now = Local(2004, 6, 15, 12);
    struct Case {
        NotificationKind kind;
        const char* entry;
        std::optional<std::string> stored;  // nothing: the value is missing
        bool show;
        bool restamped;
    };
    const Case cases[] = {
        {NotificationKind::CheckUpdates, "LastCheckUpdates", std::nullopt, false, true},
        {NotificationKind::CheckUpdates, "LastCheckUpdates", FormatStamp(now - (kFourDays - 1)), false, false},
        {NotificationKind::CheckUpdates, "LastCheckUpdates", FormatStamp(now - kFourDays), true, true},
        {NotificationKind::CheckUpdates, "LastCheckUpdates", std::string("soon"), true, true},  // long ago
        {NotificationKind::CheckUpdates, "LastCheckUpdates", FormatStamp(now + 3600), false, false},
        {NotificationKind::AddOnNotice, "LastShowVeilmark", std::nullopt, true, true},
        {NotificationKind::AddOnNotice, "LastShowVeilmark", FormatStamp(now - kThreeDays), true, true},
        {NotificationKind::AddOnNotice, "LastShowVeilmark", FormatStamp(now - (kThreeDays - 1)), false, false},
        {NotificationKind::DownloadsUpdates, "LastShowDownloadUpdates", FormatStamp(now - 10), true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.entry << " = " << c.stored.value_or("<missing>"));
        GateWorld world;
        if (c.stored) {
            world.Plant(c.entry, *c.stored);
        }
        EXPECT_EQ(world.Ask(c.kind).show, c.show);
        EXPECT_EQ(world.Stored(c.entry), c.restamped ? FormatStamp(now) : c.stored.value_or("<missing>"));
    }
}

TEST_F(Notice, InstalledUpdatesWaitForTheFlagAndTheSpacingThenWriteThePreviousNoticesStamp)
{
    GateWorld unflagged;
    EXPECT_FALSE(unflagged.Ask(NotificationKind::InstalledUpdates).show);
    EXPECT_FALSE(unflagged.settings.Has("Notifications", "LastShowInstallUpdates"));
    Show(NotificationKind::StartUp);
    const std::string startUpStamp = gate.LastShownStamp();
    gate.SetInstalledUpdates();
    clock.Advance(299);
    EXPECT_FALSE(Ask(NotificationKind::InstalledUpdates).show);
    EXPECT_TRUE(gate.InstalledUpdatesPending());
    clock.Advance(1);
    const NoticeDecision decision = Ask(NotificationKind::InstalledUpdates);
    EXPECT_TRUE(decision.show && decision.clearInstalledFlag);
    EXPECT_FALSE(gate.InstalledUpdatesPending());
    EXPECT_EQ(Stored("LastShowInstallUpdates"), startUpStamp) << "the previous notice's time, not now";
}

// A due reminder goes first and the add-on notice a spacing later.
TEST(NoticeTicks, ShowTheDueNoticesOneAtATimeReminderFirst)
{
    GateWorld due;
    due.Show(NotificationKind::StartUp);
    due.Plant("LastCheckUpdates", FormatStamp(due.clock.Now() - kFourDays));
    due.clock.Advance(300);
    Names shown;
    for (int tick = 0; tick < 6; ++tick, due.clock.Advance(60)) {
        for (const std::string& name : due.Tick()) {
            shown.push_back(name);
        }
    }
    EXPECT_EQ(shown, (Names{"CheckUpdates.bmp", "Veilmark.bmp"}));
}

TEST(NoticeStamp, WritesLocalTimeAndReadsDigitsAtFixedPositionsUnreadableAsMinusOne)
{
    EXPECT_EQ(FormatStamp(Local(2003, 1, 2, 3, 4, 5)), "2003-01-02 03:04:05");
    EXPECT_EQ(FormatStamp(INT64_C(0x7FFFFFFFFFFFFFFF)), "");  // glibc and msvcrt both refuse it
    const struct {
        const char* text;
        std::int64_t when;
    } cases[] = {
        {"2004/06/15T12.30.45", Local(2004, 6, 15, 12, 30, 45)},  // separators are not looked at
        // A field stops at its first non-digit: month "6-", day "5 ", hour "2:", minute "0:".
        {"2004-6-15 12:00:00", Local(2004, 6, 5, 2)},
        {"2004-06-15", Local(2004, 6, 15)},              // missing fields read as zero
        {"2004-13-01 00:00:00", Local(2005, 1, 1)},      // out-of-range fields are normalised
        {"2040-03-01 12:00:00", Local(2040, 3, 1, 12)},  // 64-bit: past 2038-01-19
        {"garbage", -1}, {"1969-06-30 12:00:00", -1},   // so it counts as long ago
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadStamp(c.text), c.when) << '"' << c.text << '"';
    }
    EXPECT_EQ(ReadStamp(FormatStamp(Local(2005, 12, 24, 18, 0, 59))), Local(2005, 12, 24, 18, 0, 59));
}
