#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/FakeSettings.h"
#include "ui/core/SoundChoice.h"

using tarnelix::BuiltInSoundPath;
using tarnelix::IndexForRadio;
using tarnelix::IsOnBackLink;
using tarnelix::RadioForIndex;
using tarnelix::SoundChoiceLabel;
using tarnelix::SoundPathForIndex;
using tarnelix::StoreSoundChoice;

namespace {

const std::string kFolder = "C:\\Tarnelix\\Sound\\Default\\";

}  // namespace

TEST(SoundChoicePath, BuiltInSoundsAreNumberedFilesInTheFolderOwnSoundIsThePickedFile)
{
    EXPECT_EQ(SoundChoiceLabel(10), "Ping Phasor");
    EXPECT_EQ(BuiltInSoundPath(kFolder, 10), "C:\\Tarnelix\\Sound\\Default\\sound10.wav");
    EXPECT_EQ(SoundPathForIndex(kFolder, "D:\\own.wav", 1), kFolder + "sound1.wav");
    EXPECT_EQ(SoundPathForIndex(kFolder, "D:\\own.wav", 12), "D:\\own.wav");
    EXPECT_EQ(SoundPathForIndex(kFolder, "D:\\own.wav", 13), "");
    const std::string longFolder(300, 'x');  // not cut
    EXPECT_EQ(BuiltInSoundPath(longFolder, 11), longFolder + "sound11.wav");
}

TEST(SoundChoiceRadio, IndexOneToTwelveMapsTo1054To1065AndNothingElseChecksARadio)
{
    EXPECT_EQ(RadioForIndex(1), std::optional<int>(1054));
    EXPECT_EQ(RadioForIndex(12), std::optional<int>(1065));
    EXPECT_EQ(IndexForRadio(1063), std::optional<int>(10));
    for (const int index : {0, 13, -1}) {
        EXPECT_FALSE(RadioForIndex(index).has_value()) << index;
    }
    EXPECT_FALSE(IndexForRadio(1053).has_value());
    EXPECT_FALSE(IndexForRadio(1066).has_value());
}

TEST(SoundChoiceStore, StoresTheIndexAndItsFileAndNothingOutOfRange)
{
    FakeSettings settings;
    EXPECT_EQ(StoreSoundChoice(settings, kFolder, "", 0), "");
    EXPECT_EQ(settings.writeCount, 0u);
    EXPECT_EQ(StoreSoundChoice(settings, kFolder, "", 10), kFolder + "sound10.wav");
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundFile", ""), kFolder + "sound10.wav");
    EXPECT_EQ(settings.GetProfileInt("Settings", "SoundIndex", 0), 10);
    EXPECT_EQ(StoreSoundChoice(settings, kFolder, "D:\\Waves\\mine.wav", 12), "D:\\Waves\\mine.wav");
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundFile", ""), "D:\\Waves\\mine.wav");
    EXPECT_EQ(settings.GetProfileInt("Settings", "SoundIndex", 0), 12);
}

TEST(SoundBackLink, EdgesAreOpenOnTheLeftAndTopClosedOnTheRightAndBottom)
{
    EXPECT_TRUE(IsOnBackLink(11, 201));
    EXPECT_TRUE(IsOnBackLink(150, 230));
    EXPECT_FALSE(IsOnBackLink(10, 220));
    EXPECT_FALSE(IsOnBackLink(151, 220));
    EXPECT_FALSE(IsOnBackLink(80, 200));
    EXPECT_FALSE(IsOnBackLink(80, 231));
}
