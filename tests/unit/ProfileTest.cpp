#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "platform/Settings.h"
#include "support/FakeSettings.h"

using namespace std::string_literals;

// Missing values and sections.

TEST(ProfileMissingValue, ReadsAsTheDefaultGiven)
{
    const FakeSettings settings;
    EXPECT_EQ(settings.GetProfileInt("Settings", "PlaySound", 1), 1);
    EXPECT_EQ(settings.GetProfileInt("Settings", "Disable", 0), 0);
    EXPECT_EQ(settings.GetProfileString("Settings", "SkinDir", "C:\\Skin\\"), "C:\\Skin\\");
    EXPECT_EQ(settings.GetProfileString("Settings", "SkinDir", ""), "");
}

// Values of the type asked for.

TEST(ProfileMatchingType, IntegersComeBackAsWrittenIncludingNegativeAndExtremes)
{
    FakeSettings settings;
    for (const int value : {0, 1, -1, 300, INT_MAX, INT_MIN}) {
        ASSERT_TRUE(settings.WriteProfileInt("Settings", "SoundIndex", value));
        EXPECT_EQ(settings.GetProfileInt("Settings", "SoundIndex", 7), value);
    }
}

TEST(ProfileMatchingType, DwordIsReadLeastSignificantByteFirst)
{
    FakeSettings settings;
    settings.PlantRaw("Settings", "SoundIndex", StoredKind::Dword, "\x2C\x01\x00\x00"s);
    EXPECT_EQ(settings.GetProfileInt("Settings", "SoundIndex", 0), 300);  // 0x012C
    settings.PlantRaw("Settings", "SoundIndex", StoredKind::Dword, "\xFE\xFF\xFF\xFF"s);
    EXPECT_EQ(settings.GetProfileInt("Settings", "SoundIndex", 0), -2);
}

// Values of the wrong type read as the default.

TEST(ProfileWrongType, StringAskedForAsIntegerReadsAsDefault)
{
    FakeSettings settings;
    settings.PlantText("Settings", "PlaySound", "0\0"s);
    EXPECT_EQ(settings.GetProfileInt("Settings", "PlaySound", 1), 1);
}

TEST(ProfileWrongType, BinaryOfFourBytesAskedForAsIntegerReadsAsDefault)
{
    FakeSettings settings;
    settings.PlantRaw("Settings", "Disable", StoredKind::Other, "\x01\x00\x00\x00"s);
    EXPECT_EQ(settings.GetProfileInt("Settings", "Disable", 0), 0);
}

TEST(ProfileWrongType, DwordOfOtherThanFourBytesReadsAsDefault)
{
    FakeSettings settings;
    settings.PlantRaw("Settings", "AutoBlock", StoredKind::Dword, "\x00\x00"s);
    EXPECT_EQ(settings.GetProfileInt("Settings", "AutoBlock", 1), 1);
    settings.PlantRaw("Settings", "AutoBlock", StoredKind::Dword, "\x00\x00\x00\x00\x00\x00\x00\x00"s);
    EXPECT_EQ(settings.GetProfileInt("Settings", "AutoBlock", 1), 1);
}

TEST(ProfileWrongType, DwordAskedForAsStringReadsAsDefault)
{
    FakeSettings settings;
    settings.WriteProfileInt("Settings", "PopupCounter", 12);
    EXPECT_EQ(settings.GetProfileString("Settings", "PopupCounter", ""), "");
    EXPECT_EQ(settings.GetProfileString("Settings", "PopupCounter", "0"), "0");
}

TEST(ProfileWrongType, ExpandableOrBinaryTextReadsAsDefault)
{
    FakeSettings settings;
    settings.PlantRaw("Settings", "SkinDir", StoredKind::Other, "%ProgramFiles%\\Skin\\\0"s);
    EXPECT_EQ(settings.GetProfileString("Settings", "SkinDir", "fallback"), "fallback");
}

// Strings as the registry may hold them.

TEST(ProfileStoredText, WithoutTerminatorReadsWhole)
{
    FakeSettings settings;
    settings.PlantText("Settings", "SoundFile", "C:\\a.wav");
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundFile", ""), "C:\\a.wav");
}

TEST(ProfileStoredText, EndsAtTheFirstNul)
{
    FakeSettings settings;
    settings.PlantText("Settings", "SoundFile", "C:\\a.wav\0junk\0"s);
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundFile", ""), "C:\\a.wav");
}

TEST(ProfileStoredText, EmptyStringIsAValueNotTheDefault)
{
    FakeSettings settings;
    settings.PlantText("Settings", "SkinDir", "\0"s);
    EXPECT_EQ(settings.GetProfileString("Settings", "SkinDir", "default"), "");
}

TEST(ProfileStoredText, OversizeValueReadsAsDefault)
{
    const std::optional<StoredValue> limit = StoredValue{StoredKind::Text, std::string(kMaxProfileTextBytes, 'x')};
    const std::optional<StoredValue> over =
        StoredValue{StoredKind::Text, std::string(kMaxProfileTextBytes + 1, 'x')};
    EXPECT_EQ(TextFromStoredValue(limit, "d").size(), kMaxProfileTextBytes);
    EXPECT_EQ(TextFromStoredValue(over, "d"), "d");
}

TEST(ProfileStoredText, WritingIsLimitedToWhatCanBeReadBack)
{
    FakeSettings settings;
    // 65535 characters plus the terminator fill the 65536-byte limit.
    const std::string longest(kMaxProfileTextBytes - 1, 'x');
    EXPECT_TRUE(settings.WriteProfileString("Settings", "SoundFile", longest));
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundFile", ""), longest);
    EXPECT_FALSE(settings.WriteProfileString("Settings", "SoundFile", longest + "x"));
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundFile", ""), longest);
}

// Where the values live.

TEST(ProfileKeyPath, IsSoftwareCompanyApplicationSection)
{
    EXPECT_EQ(ProfileKeyPath("Corvantine", "Tarnelix", "Settings"), "Software\\Corvantine\\Tarnelix\\Settings");
    EXPECT_EQ(ProfileKeyPath("Corvantine", "Veilmark-AddOn", "Settings"),
              "Software\\Corvantine\\Veilmark-AddOn\\Settings");
}

TEST(ProfileKeyPath, EmptySectionIsTheApplicationKey)
{
    EXPECT_EQ(ProfileKeyPath("Corvantine", "Tarnelix", ""), "Software\\Corvantine\\Tarnelix");
}

TEST(ProfileKeyPath, WithoutCompanyOrApplicationThereIsNoKey)
{
    EXPECT_EQ(ProfileKeyPath("", "Tarnelix", "Settings"), std::nullopt);
    EXPECT_EQ(ProfileKeyPath("Corvantine", "", "Settings"), std::nullopt);
}
