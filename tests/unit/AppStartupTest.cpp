#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "app/core/AppSettings.h"
#include "app/core/OsKind.h"
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

// OsKind: every row of the table.

TEST(OsKindTable, Windows9xFamilyByMinorVersion)
{
    EXPECT_EQ(OsKindFromVersion(1, 4, 0), 1);   // Windows 95
    EXPECT_EQ(OsKindFromVersion(1, 4, 10), 2);  // Windows 98
    EXPECT_EQ(OsKindFromVersion(1, 4, 90), 3);  // Windows Me
}

TEST(OsKindTable, NtFamilyFiveByMinorVersion)
{
    EXPECT_EQ(OsKindFromVersion(2, 5, 0), 6);  // Windows 2000
    EXPECT_EQ(OsKindFromVersion(2, 5, 1), 4);  // Windows XP
    EXPECT_EQ(OsKindFromVersion(2, 5, 2), 7);  // Windows Server 2003
}

TEST(OsKindTable, NtFourAndOlderAreFiveWhateverTheMinor)
{
    EXPECT_EQ(OsKindFromVersion(2, 4, 0), 5);
    EXPECT_EQ(OsKindFromVersion(2, 3, 51), 5);
    EXPECT_EQ(OsKindFromVersion(2, 0, 0), 5);
}

TEST(OsKindTable, OtherVersionsAreUnknown)
{
    EXPECT_EQ(OsKindFromVersion(2, 6, 0), -1);   // Vista
    EXPECT_EQ(OsKindFromVersion(2, 10, 0), -1);  // Windows 10
    EXPECT_EQ(OsKindFromVersion(2, 5, 3), -1);
    EXPECT_EQ(OsKindFromVersion(1, 4, 3), -1);
    EXPECT_EQ(OsKindFromVersion(1, 4, 91), -1);
    EXPECT_EQ(OsKindFromVersion(1, 3, 0), -1);
    EXPECT_EQ(OsKindFromVersion(1, 5, 0), -1);
    EXPECT_EQ(OsKindFromVersion(0, 3, 10), -1);  // Win32s
    EXPECT_EQ(OsKindFromVersion(3, 5, 1), -1);   // Windows CE
}

TEST(OsKindFamilies, FourToSevenAreNtAndOnlyFiveNeedsTheProcessStatusLibraries)
{
    for (int kind = -1; kind <= 8; ++kind) {
        const bool isNt = kind >= 4 && kind <= 7;
        EXPECT_EQ(IsNtFamily(kind), isNt) << kind;
        EXPECT_EQ(NeedsProcessStatusLibraries(kind), kind == 5) << kind;
    }
}

// OsKind: asking the system.

TEST(OsKindDetection, ExtendedRecordAnswersAlone)
{
    FakeVersionQuery query;
    query.extended = WindowsVersion{2, 5, 1};
    EXPECT_EQ(DetectOsKind(query), 4);
    EXPECT_EQ(query.asked, std::vector<VersionRecord>{VersionRecord::Extended});
}

TEST(OsKindDetection, PlainRecordWhenTheExtendedOneIsRefused)
{
    FakeVersionQuery query;
    query.plain = WindowsVersion{1, 4, 10};
    EXPECT_EQ(DetectOsKind(query), 2);
    EXPECT_EQ(query.asked, (std::vector<VersionRecord>{VersionRecord::Extended, VersionRecord::Plain}));
}

TEST(OsKindDetection, UnknownWhenBothAreRefused)
{
    FakeVersionQuery query;
    EXPECT_EQ(DetectOsKind(query), -1);
    EXPECT_EQ(query.asked.size(), 2u);
}

// Program folder and application name.

TEST(ProgramFolder, IsDriveAndDirectoryWithTheBackslash)
{
    EXPECT_EQ(ProgramFolderFromPath("C:\\Tools\\Tarnelix.exe"), "C:\\Tools\\");
    EXPECT_EQ(ProgramFolderFromPath("C:\\Tarnelix.exe"), "C:\\");
    EXPECT_EQ(ProgramFolderFromPath("C:\\Program Files\\Corvantine\\Tarnelix 3\\Tarnelix.exe"),
              "C:\\Program Files\\Corvantine\\Tarnelix 3\\");
}

TEST(ProgramFolder, KeepsForwardSlashesAsWritten)
{
    EXPECT_EQ(ProgramFolderFromPath("C:/Tools/Tarnelix.exe"), "C:/Tools/");
    EXPECT_EQ(ProgramFolderFromPath("C:\\Tools/Sub\\Tarnelix.exe"), "C:\\Tools/Sub\\");
}

TEST(ProgramFolder, UncAndLongPathPrefixesStayPartOfTheFolder)
{
    EXPECT_EQ(ProgramFolderFromPath("\\\\server\\share\\Tools\\Tarnelix.exe"), "\\\\server\\share\\Tools\\");
    EXPECT_EQ(ProgramFolderFromPath("\\\\?\\C:\\Tools\\Tarnelix.exe"), "\\\\?\\C:\\Tools\\");
}

TEST(ProgramFolder, PathWithoutDirectoryNamesNoFolder)
{
    EXPECT_EQ(ProgramFolderFromPath("Tarnelix.exe"), "");
    EXPECT_EQ(ProgramFolderFromPath("C:Tarnelix.exe"), "");
    EXPECT_EQ(ProgramFolderFromPath(""), "");
}

TEST(ProgramFolder, DirectoryLongerThanTheOldSplitLimitIsKeptWhole)
{
    const std::string deep = "C:\\" + std::string(300, 'd') + "\\";
    EXPECT_EQ(ProgramFolderFromPath(deep + "Tarnelix.exe"), deep);
}

TEST(ApplicationName, IsTheFileNameWithoutExtension)
{
    EXPECT_EQ(ApplicationNameFromPath("C:\\Tools\\Tarnelix.exe"), "Tarnelix");
    EXPECT_EQ(ApplicationNameFromPath("C:\\Tools\\Veilmark-AddOn.exe"), "Veilmark-AddOn");
    EXPECT_EQ(ApplicationNameFromPath("D:/x.y/Tarnelix.v3.exe"), "Tarnelix.v3");
    EXPECT_EQ(ApplicationNameFromPath("C:Tarnelix.exe"), "Tarnelix");
    EXPECT_EQ(ApplicationNameFromPath("Tarnelix"), "Tarnelix");
    EXPECT_EQ(ApplicationNameFromPath("C:\\Tools\\"), "");
}

// Folders settled at start-up.

TEST(SettleFolders, CleanRegistryGetsThreeFoldersBelowTheProgramFolder)
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
}

TEST(SettleFolders, StoredSkinDirIsUsedAsItStandsAndNotOverwritten)
{
    FakeSettings settings;
    settings.PlantText("Settings", "SkinDir", "E:\\MySkins\\Dark\0"s);
    const AppFolders folders = SettleFolders(settings, kProgramFolder);

    EXPECT_EQ(folders.skin, "E:\\MySkins\\Dark");  // no backslash added, existence not checked
    EXPECT_EQ(settings.GetProfileString("Settings", "SkinDir", ""), "E:\\MySkins\\Dark");
    EXPECT_EQ(folders.sound, "C:\\Tools\\Sound\\Default\\");
    EXPECT_EQ(settings.writeCount, 2u);  // SoundDir and NotificationsDir only
}

TEST(SettleFolders, SecondStartWritesNothing)
{
    FakeSettings settings;
    SettleFolders(settings, kProgramFolder);
    const AppFolders again = SettleFolders(settings, "D:\\Moved\\");
    EXPECT_EQ(again.skin, "C:\\Tools\\Skin\\Default\\");
    EXPECT_EQ(settings.writeCount, 3u);
}

TEST(SettleFolders, ReadOnlyRegistryStillGivesTheDefaults)
{
    FakeSettings settings;
    settings.failWrites = true;
    const AppFolders folders = SettleFolders(settings, kProgramFolder);
    EXPECT_EQ(folders.notifications, "C:\\Tools\\Notifications\\Default\\");
    EXPECT_FALSE(settings.Has("Settings", "NotificationsDir"));
}

TEST(SettleFolders, WrongTypedValueCountsAsEmptyAndIsReplaced)
{
    FakeSettings settings;
    settings.PlantDword("Settings", "SoundDir", 5);
    EXPECT_EQ(SettleFolders(settings, kProgramFolder).sound, "C:\\Tools\\Sound\\Default\\");
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundDir", ""), "C:\\Tools\\Sound\\Default\\");
}

TEST(SettleFolders, UnknownProgramFolderUsesRelativeDefaultsWithoutStoringThem)
{
    FakeSettings settings;
    const AppFolders folders = SettleFolders(settings, "");
    EXPECT_EQ(folders.skin, "Skin\\Default\\");
    EXPECT_EQ(settings.writeCount, 0u);
}

// The registry value table.

TEST(SettingsTable, CleanRegistryGivesTheCheckBoxDefaults)
{
    const FakeSettings settings;
    EXPECT_EQ(ReadSetting(settings, kWindowsStartsSetting), 1);
    EXPECT_EQ(ReadSetting(settings, kNoDisplayStartupSetting), 1);
    EXPECT_EQ(ReadSetting(settings, kPlaySoundSetting), 1);
    EXPECT_EQ(ReadSetting(settings, kNotificationSetting), 1);
    EXPECT_EQ(ReadSetting(settings, kAutoBlockSetting), 1);
    EXPECT_EQ(ReadSetting(settings, kDisableSetting), 0);
    EXPECT_EQ(ReadSetting(settings, kPreventHomePageChangeSetting), 0);
    EXPECT_EQ(ReadSetting(settings, kBlockMessengerSetting), 1);
    EXPECT_EQ(ReadSetting(settings, kDisableIEScriptDebuggerSetting), 1);
    EXPECT_EQ(ReadSetting(settings, kCheckedForUpdatesSetting), 0);
    EXPECT_EQ(ReadSetting(settings, kLastShowStartUpSetting), "");
}

// Counters stored as decimal text.

TEST(CounterText, ReadsTheLeadingDecimalNumber)
{
    EXPECT_EQ(ParseCounterText("12"), 12);
    EXPECT_EQ(ParseCounterText("12abc"), 12);
    EXPECT_EQ(ParseCounterText("  42"), 42);
    EXPECT_EQ(ParseCounterText("+7"), 7);
    EXPECT_EQ(ParseCounterText("-7"), -7);
    EXPECT_EQ(ParseCounterText("007"), 7);
    EXPECT_EQ(ParseCounterText("1 000"), 1);
}

TEST(CounterText, TextWithoutLeadingDigitsIsZero)
{
    EXPECT_EQ(ParseCounterText(""), 0);
    EXPECT_EQ(ParseCounterText("abc"), 0);
    EXPECT_EQ(ParseCounterText("-"), 0);
    EXPECT_EQ(ParseCounterText("--5"), 0);
    EXPECT_EQ(ParseCounterText("x12"), 0);
}

TEST(CounterText, OutOfRangeClampsToTheIntLimits)
{
    EXPECT_EQ(ParseCounterText("2147483647"), INT_MAX);
    EXPECT_EQ(ParseCounterText("2147483648"), INT_MAX);
    EXPECT_EQ(ParseCounterText("99999999999"), INT_MAX);
    EXPECT_EQ(ParseCounterText("99999999999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseCounterText("-2147483648"), INT_MIN);
    EXPECT_EQ(ParseCounterText("-99999999999"), INT_MIN);
}

TEST(CounterSetting, IsStoredAsDecimalTextAndReadBack)
{
    FakeSettings settings;
    ASSERT_TRUE(WriteCounter(settings, kPopupCounterSetting, 1234));
    EXPECT_EQ(settings.GetProfileString("Settings", "PopupCounter", ""), "1234");
    EXPECT_EQ(ReadCounter(settings, kPopupCounterSetting), 1234);
}

TEST(CounterSetting, MissingMalformedOrWrongTypedReadsAsZero)
{
    FakeSettings settings;
    EXPECT_EQ(ReadCounter(settings, kAdwareCounterSetting), 0);
    settings.PlantText("Settings", "AdwareCounter", "lots\0"s);
    EXPECT_EQ(ReadCounter(settings, kAdwareCounterSetting), 0);
    settings.PlantDword("Settings", "VeilmarkCounter", 9);
    EXPECT_EQ(ReadCounter(settings, kVeilmarkCounterSetting), 0);
}
