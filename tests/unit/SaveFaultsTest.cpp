#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "common/PendingSettings.h"
#include "common/SaveFaults.h"
#include "support/FakeSettings.h"

// A key without write access: the program goes on with what the user set,
// and nothing is lost once the key takes writes again.
TEST(PendingSettings, RefusedWritesAreReadBackAndWrittenOnceTheStoreTakesThemAgain)
{
    FakeSettings store;
    store.PlantDword("Settings", "PopupCounter", 1);
    PendingSettings settings(store);
    store.failWrites = true;
    EXPECT_FALSE(settings.WriteProfileInt("Settings", "PopupCounter", 2));
    EXPECT_FALSE(settings.WriteProfileString("Settings", "SoundFile", "C:\\kill.wav"));
    EXPECT_TRUE(settings.HasPending());
    EXPECT_EQ(settings.GetProfileInt("Settings", "PopupCounter", 0), 2);
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundFile", ""), "C:\\kill.wav");
    // The store's type rule holds for kept values too.
    EXPECT_EQ(settings.GetProfileString("Settings", "PopupCounter", "none"), "none");
    EXPECT_EQ(settings.GetProfileInt("Settings", "SoundFile", 7), 7);
    EXPECT_EQ(store.GetProfileInt("Settings", "PopupCounter", 0), 1);

    settings.RetryPending();
    EXPECT_TRUE(settings.HasPending()) << "still refused";
    store.failWrites = false;
    settings.RetryPending();
    EXPECT_FALSE(settings.HasPending());
    EXPECT_EQ(store.GetProfileInt("Settings", "PopupCounter", 0), 2);
    EXPECT_EQ(store.GetProfileString("Settings", "SoundFile", ""), "C:\\kill.wav");
}

TEST(PendingSettings, ALaterWriteThatTakesEndsTheKeptValueAndATextRefusedByRuleIsNotKept)
{
    FakeSettings store;
    PendingSettings settings(store);
    store.failWrites = true;
    settings.WriteProfileInt("Settings", "Disable", 1);
    store.failWrites = false;
    EXPECT_TRUE(settings.WriteProfileInt("Settings", "Disable", 0));
    EXPECT_FALSE(settings.HasPending());
    EXPECT_EQ(settings.GetProfileInt("Settings", "Disable", 5), 0);
    // Too long to be read back: refused by the store every time, so keeping
    // it would make a fault that never ends.
    EXPECT_FALSE(settings.WriteProfileString("Settings", "Start Page", std::string(kMaxProfileTextBytes, 'x')));
    EXPECT_FALSE(settings.HasPending());
}

TEST(SaveFaultNotice, TellsOfEachFaultOnceAgainOnlyAfterItWentAwayAndWaitsForAnOpenBox)
{
    enum : unsigned { kList = 1, kSettings = 2 };
    struct Round {
        unsigned faults;
        bool boxOpen;
        bool tell;
    };
    const Round rounds[] = {
        {0, false, false},
        {kList, true, false},             // another box is on screen: later
        {kList, false, true},             // told
        {kList, false, false},            // still the same fault
        {kList | kSettings, true, false}, // a new one waits for the box
        {kList | kSettings, false, true}, // told: the settings are new
        {kSettings, false, false},        // the list was saved
        {kList | kSettings, false, true}, // and failed again
        {0, false, false},
        {kSettings, false, true},
    };
    SaveFaultNotice notice;
    int i = 0;
    for (const Round& round : rounds) {
        EXPECT_EQ(notice.ShouldTell(round.faults, round.boxOpen), round.tell) << "round " << i++;
    }
}

TEST(SaveFaultNotice, TheMessageNamesWhatCannotBeSavedInTableOrder)
{
    const SaveFaultItem items[] = {{1, "AllowBanners.dat"}, {2, "BlockedHistory.dat"}, {4, "its settings"}};
    const struct {
        unsigned faults;
        const char* names;
    } cases[] = {
        {2, "BlockedHistory.dat"},
        {5, "AllowBanners.dat and its settings"},
        {7, "AllowBanners.dat, BlockedHistory.dat and its settings"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SaveFaultMessage("Tarnelix", c.faults, items, std::size(items)),
                  std::string("Tarnelix cannot save ") + c.names +
                      ". It keeps your changes and saves them as soon as it can.");
    }
}

// The round both programs run from a timer: only what stands unsaved is
// saved again, and what still fails is named once.
TEST(SaveWatch, SavesAgainOnlyWhatIsUnsavedAndNamesWhatStillFails)
{
    bool listUnsaved = true, listHeld = true, settingsUnsaved = false;
    int listSaves = 0, settingsSaves = 0;
    SaveWatch watch("Tarnelix", {{"AllowBanners.dat", [&] { return listUnsaved; },
                                  [&] { ++listSaves; listUnsaved = listHeld; }},
                                 {kSettingsFaultName, [&] { return settingsUnsaved; }, [&] { ++settingsSaves; }}});
    EXPECT_EQ(watch.Check(false),
              std::string("Tarnelix cannot save AllowBanners.dat. It keeps your changes and saves them as soon as it can."));
    EXPECT_EQ(watch.Check(false), std::nullopt) << "told once";
    EXPECT_EQ(listSaves, 2);
    EXPECT_EQ(settingsSaves, 0);
    listHeld = false;
    EXPECT_TRUE(watch.SaveAgain());
    EXPECT_EQ(listSaves, 3);
}
