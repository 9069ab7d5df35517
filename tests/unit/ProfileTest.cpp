#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "platform/Settings.h"
#include "support/FakeSettings.h"

using namespace std::string_literals;

// Values as the registry may hold them: missing, of the type asked for, of
// the wrong type, or of odd size. Whatever cannot be read as asked reads as
// the default given.

TEST(ProfileInt, DwordOfFourBytesIsReadLeastSignificantByteFirstAnythingElseAsTheDefault)
{
    const struct {
        const char* what;
        std::optional<StoredValue> stored;
        int value;
    } cases[] = {
        {"missing", std::nullopt, 7},
        {"300", StoredValue{StoredKind::Dword, "\x2C\x01\x00\x00"s}, 300},  // 0x012C
        {"-2", StoredValue{StoredKind::Dword, "\xFE\xFF\xFF\xFF"s}, -2},
        {"string", StoredValue{StoredKind::Text, "0\0"s}, 7},
        {"binary of four bytes", StoredValue{StoredKind::Other, "\x01\x00\x00\x00"s}, 7},
        {"two-byte dword", StoredValue{StoredKind::Dword, "\x00\x00"s}, 7},
        {"eight-byte dword", StoredValue{StoredKind::Dword, "\x00\x00\x00\x00\x00\x00\x00\x00"s}, 7},
    };
    for (const auto& c : cases) {
        FakeSettings settings;
        if (c.stored) {
            settings.PlantRaw("Settings", "SoundIndex", c.stored->kind, c.stored->data);
        }
        EXPECT_EQ(settings.GetProfileInt("Settings", "SoundIndex", 7), c.value) << c.what;
    }
}

TEST(ProfileInt, IntegersComeBackAsWrittenIncludingNegativeAndExtremes)
{
    FakeSettings settings;
    for (const int value : {0, 1, -1, 300, INT_MAX, INT_MIN}) {
        ASSERT_TRUE(settings.WriteProfileInt("Settings", "SoundIndex", value));
        EXPECT_EQ(settings.GetProfileInt("Settings", "SoundIndex", 7), value);
    }
}

TEST(ProfileText, TextEndsAtTheFirstNulAnythingNotTextReadsAsTheDefault)
{
    const struct {
        const char* what;
        std::optional<StoredValue> stored;
        std::string value;
    } cases[] = {
        {"missing", std::nullopt, "default"},
        {"no terminator", StoredValue{StoredKind::Text, "C:\\a.wav"}, "C:\\a.wav"},
        {"junk after the NUL", StoredValue{StoredKind::Text, "C:\\a.wav\0junk\0"s}, "C:\\a.wav"},
        {"empty string", StoredValue{StoredKind::Text, "\0"s}, ""},  // a value, not the default
        {"dword", StoredValue{StoredKind::Dword, "\x0C\x00\x00\x00"s}, "default"},
        {"expandable", StoredValue{StoredKind::Other, "%ProgramFiles%\\Skin\\\0"s}, "default"},
        {"oversize", StoredValue{StoredKind::Text, std::string(kMaxProfileTextBytes + 1, 'x')}, "default"},
        {"at the limit", StoredValue{StoredKind::Text, std::string(kMaxProfileTextBytes, 'x')},
         std::string(kMaxProfileTextBytes, 'x')},
    };
    for (const auto& c : cases) {
        FakeSettings settings;
        if (c.stored) {
            settings.PlantRaw("Settings", "SoundFile", c.stored->kind, c.stored->data);
        }
        EXPECT_EQ(settings.GetProfileString("Settings", "SoundFile", "default"), c.value) << c.what;
    }
}

TEST(ProfileText, WritingIsLimitedToWhatCanBeReadBack)
{
    FakeSettings settings;
    // 65535 characters plus the terminator fill the 65536-byte limit.
    const std::string longest(kMaxProfileTextBytes - 1, 'x');
    EXPECT_TRUE(settings.WriteProfileString("Settings", "SoundFile", longest));
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundFile", ""), longest);
    EXPECT_FALSE(settings.WriteProfileString("Settings", "SoundFile", longest + "x"));
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundFile", ""), longest);
}

TEST(ProfileKeyPath, IsSoftwareCompanyApplicationSectionAndNeedsCompanyAndApplication)
{
    EXPECT_EQ(ProfileKeyPath("Corvantine", "Tarnelix", "Settings"), "Software\\Corvantine\\Tarnelix\\Settings");
    EXPECT_EQ(ProfileKeyPath("Corvantine", "Veilmark-AddOn", "Settings"),
              "Software\\Corvantine\\Veilmark-AddOn\\Settings");
    EXPECT_EQ(ProfileKeyPath("Corvantine", "Tarnelix", ""), "Software\\Corvantine\\Tarnelix");
    EXPECT_EQ(ProfileKeyPath("", "Tarnelix", "Settings"), std::nullopt);
    EXPECT_EQ(ProfileKeyPath("Corvantine", "", "Settings"), std::nullopt);
}
