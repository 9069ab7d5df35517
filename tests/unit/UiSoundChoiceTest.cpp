#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/FakeSettings.h"
#include "ui/core/SoundChoice.h"

using namespace tarnelix;

TEST(SoundChoice, RadiosMapToIndexesOneToTwelveEachStoredWithItsFileNothingOutOfRange)
{
    EXPECT_EQ(RadioForIndex(12), std::optional<int>(1065));
    EXPECT_EQ(IndexForRadio(1063), std::optional<int>(10));
    for (const int outside : {0, 13, -1, 1053, 1066}) {
        EXPECT_FALSE(RadioForIndex(outside) || IndexForRadio(outside)) << outside;
    }
    const std::string folder = "C:\\Tarnelix\\Sound\\Default\\";
    FakeSettings settings;
    EXPECT_EQ(StoreSoundChoice(settings, folder, "", 13), "");
    EXPECT_EQ(settings.writeCount, 0u);
    EXPECT_EQ(StoreSoundChoice(settings, folder, "", 10), folder + "sound10.wav");
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundFile", ""), folder + "sound10.wav");
    EXPECT_EQ(settings.GetProfileInt("Settings", "SoundIndex", 0), 10);
    EXPECT_EQ(StoreSoundChoice(settings, folder, "D:\\Waves\\mine.wav", 12), "D:\\Waves\\mine.wav");
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundFile", ""), "D:\\Waves\\mine.wav");
    EXPECT_EQ(settings.GetProfileInt("Settings", "SoundIndex", 0), 12);
}

TEST(SoundChoice, BackLinkEdgesAreOpenOnTheLeftAndTopClosedOnTheRightAndBottom)
{
    EXPECT_TRUE(IsOnBackLink(11, 201) && IsOnBackLink(150, 230));
    EXPECT_FALSE(IsOnBackLink(10, 220) || IsOnBackLink(151, 220) || IsOnBackLink(80, 200) || IsOnBackLink(80, 231));
}
