#include <gtest/gtest.h>

#include <string>

#include "support/FakeSettings.h"
#include "ui/core/SoundChoice.h"

using namespace tarnelix;

TEST(SoundChoice, StoresTheIndexWithTheFolderFileOrTheUsersOwnAndNothingOutOfRange)
{
    const std::string folder = "C:\\Tarnelix\\Sound\\Default\\";
    FakeSettings settings;
    EXPECT_EQ(StoreSoundChoice(settings, folder, "", 13), "");
    EXPECT_EQ(settings.writeCount, 0u);
    EXPECT_EQ(StoreSoundChoice(settings, folder, "D:\\Waves\\mine.wav", 12), "D:\\Waves\\mine.wav");
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundFile", ""), "D:\\Waves\\mine.wav");
    EXPECT_EQ(settings.GetProfileInt("Settings", "SoundIndex", 0), 12);
    EXPECT_FALSE(RadioForIndex(0) || RadioForIndex(13) || IndexForRadio(1053) || IndexForRadio(1066));
}
