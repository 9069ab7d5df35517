#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "app/core/MainWindowLogic.h"
#include "app/core/Startup.h"
#include "common/AppSettings.h"
#include "common/Counters.h"
#include "common/HookHost.h"
#include "support/FakeSettings.h"

using namespace std::string_literals;

// ---- Program folder ---------------------------------------------------------

TEST(ProgramPath, FolderKeepsEverythingUpToTheLastSlashNameDropsTheExtension)
{
    const std::string deep = "C:\\" + std::string(300, 'd') + "\\";  // beyond the old split limit
    const struct {
        std::string path, folder, name;
    } cases[] = {
        {"C:\\Tools/Sub\\Veilmark-AddOn.exe", "C:\\Tools/Sub\\", "Veilmark-AddOn"},  // slashes as written
        {deep + "Tarnelix.exe", deep, "Tarnelix"},
        {"D:/x.y/Tarnelix.v3.exe", "D:/x.y/", "Tarnelix.v3"},
        {"C:Tarnelix.exe", "", "Tarnelix"},
        {"C:\\Tools\\", "C:\\Tools\\", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ProgramFolderFromPath(c.path), c.folder);
        EXPECT_EQ(ApplicationNameFromPath(c.path), c.name);
    }
}

// ---- Profile values ---------------------------------------------------------

// Values as the registry may hold them: whatever cannot be read as asked
// reads as the default given (7 or "default").
TEST(Profile, IntegerIsAFourByteDwordTextEndsAtTheFirstNulAnythingElseReadsAsTheDefault)
{
    const std::string limit(kMaxProfileTextBytes, 'x');
    const struct {
        const char* what;
        std::optional<StoredValue> stored;
        int number;
        std::string text;
    } cases[] = {
        {"missing", std::nullopt, 7, "default"},
        {"-2", StoredValue{StoredKind::Dword, "\xFE\xFF\xFF\xFF"s}, -2, "default"},
        {"two-byte dword", StoredValue{StoredKind::Dword, "\x00\x00"s}, 7, "default"},
        {"binary of four bytes", StoredValue{StoredKind::Other, "\x01\x00\x00\x00"s}, 7, "default"},
        {"no terminator", StoredValue{StoredKind::Text, "C:\\a.wav"}, 7, "C:\\a.wav"},
        {"junk after the NUL", StoredValue{StoredKind::Text, "C:\\a.wav\0junk\0"s}, 7, "C:\\a.wav"},
        {"empty string", StoredValue{StoredKind::Text, "\0"s}, 7, ""},  // a value, not the default
        {"oversize string", StoredValue{StoredKind::Text, limit + "x"}, 7, "default"},
        {"string at the limit", StoredValue{StoredKind::Text, limit}, 7, limit},
    };
    for (const auto& c : cases) {
        FakeSettings settings;
        if (c.stored) {
            settings.PlantRaw("Settings", "Value", c.stored->kind, c.stored->data);
        }
        EXPECT_EQ(settings.GetProfileInt("Settings", "Value", 7), c.number) << c.what;
        EXPECT_EQ(settings.GetProfileString("Settings", "Value", "default"), c.text) << c.what;
    }
    // What is written must be readable: 65535 characters and the terminator fill the limit.
    EXPECT_TRUE(FitsProfileText(std::string(kMaxProfileTextBytes - 1, 'x')));
    EXPECT_FALSE(FitsProfileText(limit));
    EXPECT_EQ(ProfileKeyPath("Corvantine", "", "Settings"), std::nullopt) << "no key without an application name";
}

// ---- Counters ---------------------------------------------------------------

TEST(Counters, StoredTextReadsAsItsLeadingDecimalNumberClampedToTheIntLimits)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"12abc", 12}, {"  42", 42}, {"+7", 7}, {"-7", -7}, {"1 000", 1}, {"", 0}, {"--5", 0}, {"x12", 0},
        {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"-2147483648", INT_MIN}, {"-99999999999", INT_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseCounterText(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(Counters, KillsCountForTheirKindOnlyAndStopAtInt32Max)
{
    Counters counters{10, 2, 5, 1, INT_MAX - 1};
    EXPECT_TRUE(AddKill(counters, kKillKindPopup));
    EXPECT_TRUE(AddKill(counters, kKillKindAdware));
    EXPECT_FALSE(AddKill(counters, 102));
    AddAddOnRun(counters);
    AddAddOnRun(counters);
    const auto all = [](const Counters& c) {
        return std::vector<int>{c.popupTotal, c.popupRun, c.adwareTotal, c.adwareRun, c.addOnTotal};
    };
    EXPECT_EQ(all(counters), std::vector<int>({11, 3, 6, 2, INT_MAX}));
    Counters full{INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX};
    AddKill(full, kKillKindPopup);
    AddKill(full, kKillKindAdware);
    EXPECT_EQ(all(full), std::vector<int>(5, INT_MAX));
}

TEST(Counters, DisplayShowsPopupPlusAdwareInSixDigitsOrAsksForAResetThatKeepsTheAddOnRuns)
{
    const struct {
        std::int32_t popups, adware;
        std::optional<std::string> digits;
    } cases[] = {
        {12, 3, "000015"}, {999000, 999, "999999"}, {1000000, 0, std::nullopt},
        {INT_MAX, INT_MAX, std::nullopt},  // in 32 bits the sum would wrap into a showable one
        {-5, 0, std::nullopt},             // negative sum from an edited registry
    };
    for (const auto& c : cases) {
        const Counters counters{c.popups, 0, c.adware, 0, 0};
        EXPECT_EQ(CounterDigits(counters), c.digits) << c.popups << " + " << c.adware;
    }
    Counters counters{1000000, 40, 3, 2, 17};
    ResetCounters(counters);
    EXPECT_EQ(CounterDigits(counters), "000000");
    EXPECT_EQ(counters.popupRun + counters.adwareRun, 0);
    EXPECT_EQ(counters.addOnTotal, 17);
}

// ---- Wendle32Host's command line --------------------------------------------

TEST(HookHostArguments, RoundTripAndEveryMalformedLineRefused)
{
    const std::string line = HookHostCommandLine("C:\\T\\Wendle32Host.exe", {1311, 0x2A4});
    EXPECT_EQ(line, "\"C:\\T\\Wendle32Host.exe\" 1311 676");
    const std::optional<HookHostArguments> parsed = ParseHookHostArguments(line.substr(line.find("\" ") + 2).c_str());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->mainWindow, 1311u);
    EXPECT_EQ(parsed->stopEvent, 676u);
    EXPECT_TRUE(ParseHookHostArguments("\t7  9 "));
    const std::string tooBig = std::to_string(UINTPTR_MAX) + "0 5";
    for (const char* bad : {"", "7", "7 x", "7 9 3", "0 9", "7 0", "-7 9", "7 9x", tooBig.c_str()}) {
        EXPECT_FALSE(ParseHookHostArguments(bad)) << bad;
    }
    EXPECT_FALSE(ParseHookHostArguments(nullptr));
}

TEST(Counters, TotalsAreLoadedAndSavedAsDecimalTextAndTheRunCountsNever)
{
    FakeSettings settings;
    settings.PlantText("Settings", "PopupCounter", "12abc\0"s);
    settings.PlantDword("Settings", "AdwareCounter", 9);  // wrong type
    Counters counters{1, 4, 9, 0, 0};
    LoadCounters(settings, counters);
    EXPECT_EQ(counters.popupTotal, 12);
    EXPECT_EQ(counters.adwareTotal, 0);
    EXPECT_EQ(counters.addOnTotal, 0);  // missing
    EXPECT_EQ(counters.popupRun, 4);

    counters.addOnTotal = -3;
    EXPECT_TRUE(SaveCounters(settings, counters));
    EXPECT_EQ(settings.GetProfileString("Settings", "PopupCounter", ""), "12");
    EXPECT_EQ(settings.GetProfileString("Settings", "AdwareCounter", ""), "0");
    EXPECT_EQ(settings.GetProfileString("Settings", "VeilmarkCounter", ""), "-3");
    EXPECT_EQ(settings.writeCount, 3u);
    settings.failTextWrites = true;
    EXPECT_FALSE(SaveCounters(settings, counters));
}
