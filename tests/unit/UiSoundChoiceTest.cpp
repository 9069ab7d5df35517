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

TEST(SoundChoicePath, PingPhasorIsSound10)
{
    EXPECT_EQ(SoundChoiceLabel(10), "Ping Phasor");
    EXPECT_EQ(BuiltInSoundPath(kFolder, 10), "C:\\Tarnelix\\Sound\\Default\\sound10.wav");
}

TEST(SoundChoicePath, PopIsSound1AndOwnSoundIsThePickedFile)
{
    EXPECT_EQ(SoundPathForIndex(kFolder, "D:\\own.wav", 1), kFolder + "sound1.wav");
    EXPECT_EQ(SoundPathForIndex(kFolder, "D:\\own.wav", 12), "D:\\own.wav");
    EXPECT_EQ(SoundPathForIndex(kFolder, "D:\\own.wav", 13), "");
}

TEST(SoundChoicePath, LongFolderIsNotCut)
{
    const std::string folder(300, 'x');
    EXPECT_EQ(BuiltInSoundPath(folder, 11), folder + "sound11.wav");
}

TEST(SoundChoiceRadio, IndexOneToTwelveMapsTo1054To1065)
{
    EXPECT_EQ(RadioForIndex(1), std::optional<int>(1054));
    EXPECT_EQ(RadioForIndex(10), std::optional<int>(1063));
    EXPECT_EQ(RadioForIndex(12), std::optional<int>(1065));
    EXPECT_EQ(IndexForRadio(1063), std::optional<int>(10));
}

TEST(SoundChoiceRadio, NoChoiceYetChecksNothing)
{
    EXPECT_FALSE(RadioForIndex(0).has_value());
    EXPECT_FALSE(RadioForIndex(13).has_value());
    EXPECT_FALSE(RadioForIndex(-1).has_value());
    EXPECT_FALSE(IndexForRadio(1053).has_value());
    EXPECT_FALSE(IndexForRadio(1066).has_value());
}

TEST(SoundChoiceRadio, LabelsInTableOrder)
{
    EXPECT_EQ(SoundChoiceLabel(1), "Pop");
    EXPECT_EQ(SoundChoiceLabel(11), "Fry");
    EXPECT_EQ(SoundChoiceLabel(12), "Select your own Sound");
    EXPECT_EQ(SoundChoiceLabel(0), "");
}

TEST(SoundChoiceStore, PingPhasorStoresIndex10AndItsFile)
{
    FakeSettings settings;
    const std::string path = StoreSoundChoice(settings, kFolder, "", 10);
    EXPECT_EQ(path, kFolder + "sound10.wav");
    EXPECT_EQ(settings.GetProfileString("Settings", "SoundFile", ""), kFolder + "sound10.wav");
    EXPECT_EQ(settings.GetProfileInt("Settings", "SoundIndex", 0), 10);
}

TEST(SoundChoiceStore, OwnSoundStoresItsFullPathAndIndex12)
{
    FakeSettings settings;
    EXPECT_EQ(StoreSoundChoice(settings, kFolder, "D:\\Waves\\mine.wav", 12), "D:\\Waves\\mine.wav");
    EXPECT_EQ(settings.GetProfileInt("Settings", "SoundIndex", 0), 12);
}

TEST(SoundChoiceStore, IndexOutOfRangeWritesNothing)
{
    FakeSettings settings;
    EXPECT_EQ(StoreSoundChoice(settings, kFolder, "", 0), "");
    EXPECT_EQ(settings.writeCount, 0u);
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
