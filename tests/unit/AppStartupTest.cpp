#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "common/AppSettings.h"
#include "common/OsKind.h"
#include "app/core/Startup.h"
#include "support/FakeSettings.h"

using namespace std::string_literals;

namespace {

// Answers as a system would that knows only some record sizes.
class FakeVersionQuery final : public IVersionQuery {
public:
    std::optional<WindowsVersion> extended;
    std::optional<WindowsVersion> plain;
    std::vector<VersionRecord> asked;

    std::optional<WindowsVersion> Ask(VersionRecord record) override
    {
        asked.push_back(record);
        return record == VersionRecord::Extended ? extended : plain;
    }
};

const std::string kProgramFolder = "C:\\Tools\\";

}  // namespace

// ---- OsKind ------------------------------------------------------------------

TEST(OsKindTable, EveryRowAndTheVersionsOutsideIt)
{
    const struct {
        int platform, major, minor, kind;
    } cases[] = {
        {1, 4, 0, 1},  {1, 4, 10, 2}, {1, 4, 90, 3},               // 95, 98, Me
        {2, 5, 0, 6},  {2, 5, 1, 4},  {2, 5, 2, 7},                // 2000, XP, Server 2003
        {2, 4, 0, 5},  {2, 3, 51, 5}, {2, 0, 0, 5},                // NT 4 and older
        {2, 6, 0, -1}, {2, 10, 0, -1}, {2, 5, 3, -1},              // Vista, 10, unknown minor
        {1, 4, 3, -1}, {1, 4, 91, -1}, {1, 3, 0, -1}, {1, 5, 0, -1},
        {0, 3, 10, -1}, {3, 5, 1, -1},                             // Win32s, CE
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OsKindFromVersion(c.platform, c.major, c.minor), c.kind)
            << c.platform << ' ' << c.major << '.' << c.minor;
    }
}

TEST(OsKindFamilies, FourToSevenAreNtAndOnlyFiveNeedsTheProcessStatusLibraries)
{
    for (int kind = -1; kind <= 8; ++kind) {
        EXPECT_EQ(IsNtFamily(kind), kind >= 4 && kind <= 7) << kind;
        EXPECT_EQ(NeedsProcessStatusLibraries(kind), kind == 5) << kind;
    }
}

TEST(OsKindDetection, ExtendedRecordFirstThenThePlainOneThenUnknown)
{
    FakeVersionQuery extended;
    extended.extended = WindowsVersion{2, 5, 1};
    EXPECT_EQ(DetectOsKind(extended), 4);
    EXPECT_EQ(extended.asked, std::vector<VersionRecord>{VersionRecord::Extended});

    FakeVersionQuery plain;
    plain.plain = WindowsVersion{1, 4, 10};
    EXPECT_EQ(DetectOsKind(plain), 2);
    EXPECT_EQ(plain.asked, (std::vector<VersionRecord>{VersionRecord::Extended, VersionRecord::Plain}));

    FakeVersionQuery neither;
    EXPECT_EQ(DetectOsKind(neither), -1);
    EXPECT_EQ(neither.asked.size(), 2u);
}

// ---- Program folder and application name -------------------------------------------

TEST(ProgramPath, FolderKeepsEverythingUpToTheLastSlashNameDropsTheExtension)
{
    const std::string deep = "C:\\" + std::string(300, 'd') + "\\";  // beyond the old split limit
    const struct {
        std::string path, folder, name;
    } cases[] = {
        {"C:\\Tools\\Tarnelix.exe", "C:\\Tools\\", "Tarnelix"},
        {"C:\\Tarnelix.exe", "C:\\", "Tarnelix"},
        {"C:\\Program Files\\Corvantine\\Tarnelix 3\\Tarnelix.exe", "C:\\Program Files\\Corvantine\\Tarnelix 3\\",
         "Tarnelix"},
        {"C:/Tools/Tarnelix.exe", "C:/Tools/", "Tarnelix"},  // forward slashes kept as written
        {"C:\\Tools/Sub\\Tarnelix.exe", "C:\\Tools/Sub\\", "Tarnelix"},
        {"\\\\server\\share\\Tools\\Tarnelix.exe", "\\\\server\\share\\Tools\\", "Tarnelix"},
        {"\\\\?\\C:\\Tools\\Tarnelix.exe", "\\\\?\\C:\\Tools\\", "Tarnelix"},
        {deep + "Tarnelix.exe", deep, "Tarnelix"},
        {"C:\\Tools\\Veilmark-AddOn.exe", "C:\\Tools\\", "Veilmark-AddOn"},
        {"D:/x.y/Tarnelix.v3.exe", "D:/x.y/", "Tarnelix.v3"},
        {"Tarnelix.exe", "", "Tarnelix"},
        {"C:Tarnelix.exe", "", "Tarnelix"},
        {"Tarnelix", "", "Tarnelix"},
        {"C:\\Tools\\", "C:\\Tools\\", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ProgramFolderFromPath(c.path), c.folder);
        EXPECT_EQ(ApplicationNameFromPath(c.path), c.name);
    }
}

// ---- Folders settled at start-up --------------------------------------------------

TEST(SettleFolders, CleanRegistryGetsThreeFoldersBelowTheProgramFolderOnceOnly)
{
    FakeSettings settings;
    const AppFolders folders = SettleFolders(settings, kProgramFolder);
    EXPECT_EQ(folders.skin, "C:\\Tools\\Skin\\Default\\");
    EXPECT_EQ(folders.sound, "C:\\Tools\\Sound\\Default\\");
    EXPECT_EQ(folders.notifications, "C:\\Tools\\Notifications\\Default\\");
    EXPECT_EQ(settings.writeCount, 3u);
    EXPECT_EQ(settings.GetProfileString("Settings", "SkinDir", ""), "C:\\Tools\\Skin\\Default\\");
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundDir", ""), "C:\\Tools\\Sound\\Default\\");
    EXPECT_EQ(settings.GetProfileString("Settings", "NotificationsDir", ""), "C:\\Tools\\Notifications\\Default\\");

    const AppFolders again = SettleFolders(settings, "D:\\Moved\\");
    EXPECT_EQ(again.skin, "C:\\Tools\\Skin\\Default\\");
    EXPECT_EQ(settings.writeCount, 3u);
}

TEST(SettleFolders, StoredValueIsUsedAsItStandsAndAWrongTypedOneIsReplaced)
{
    FakeSettings settings;
    settings.PlantText("Settings", "SkinDir", "E:\\MySkins\\Dark\0"s);
    settings.PlantDword("Settings", "SoundDir", 5);
    const AppFolders folders = SettleFolders(settings, kProgramFolder);
    EXPECT_EQ(folders.skin, "E:\\MySkins\\Dark");  // no backslash added, existence not checked
    EXPECT_EQ(settings.GetProfileString("Settings", "SkinDir", ""), "E:\\MySkins\\Dark");
    EXPECT_EQ(folders.sound, "C:\\Tools\\Sound\\Default\\");
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundDir", ""), "C:\\Tools\\Sound\\Default\\");
    EXPECT_EQ(settings.writeCount, 2u);  // SoundDir and NotificationsDir only
}

TEST(SettleFolders, ReadOnlyRegistryOrUnknownProgramFolderStillGivesDefaults)
{
    FakeSettings readOnly;
    readOnly.failWrites = true;
    EXPECT_EQ(SettleFolders(readOnly, kProgramFolder).notifications, "C:\\Tools\\Notifications\\Default\\");
    EXPECT_FALSE(readOnly.Has("Settings", "NotificationsDir"));

    FakeSettings settings;
    EXPECT_EQ(SettleFolders(settings, "").skin, "Skin\\Default\\");
    EXPECT_EQ(settings.writeCount, 0u);  // relative defaults are not stored
}

// ---- Counters stored as decimal text ---------------------------------------------

TEST(CounterText, ReadsTheLeadingDecimalNumberClampedToTheIntLimits)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"12", 12}, {"12abc", 12}, {"  42", 42}, {"+7", 7}, {"-7", -7}, {"007", 7}, {"1 000", 1},
        {"", 0}, {"abc", 0}, {"-", 0}, {"--5", 0}, {"x12", 0},
        {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"99999999999", INT_MAX},
        {"99999999999999999999999999", INT_MAX}, {"-2147483648", INT_MIN}, {"-99999999999", INT_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseCounterText(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(CounterSetting, IsStoredAsDecimalTextAndMissingMalformedOrWrongTypedReadsAsZero)
{
    FakeSettings settings;
    ASSERT_TRUE(WriteCounter(settings, kPopupCounterSetting, 1234));
    EXPECT_EQ(settings.GetProfileString("Settings", "PopupCounter", ""), "1234");
    EXPECT_EQ(ReadCounter(settings, kPopupCounterSetting), 1234);
    EXPECT_EQ(ReadCounter(settings, kAdwareCounterSetting), 0);
    settings.PlantText("Settings", "AdwareCounter", "lots\0"s);
    EXPECT_EQ(ReadCounter(settings, kAdwareCounterSetting), 0);
    settings.PlantDword("Settings", "VeilmarkCounter", 9);
    EXPECT_EQ(ReadCounter(settings, kVeilmarkCounterSetting), 0);
}
