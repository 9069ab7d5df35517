#include "ui/core/SoundChoice.h"

#include <string>

#include "common/AppSettings.h"

namespace tarnelix {

namespace {

bool IsChoice(int soundIndex)
{
    return soundIndex >= 1 && soundIndex <= kSoundChoiceCount;
}

}  // namespace

std::string BuiltInSoundPath(const std::string& soundFolder, int index)
{
    // The pattern "%ssound%d.wav", without a buffer to size.
    return soundFolder + "sound" + std::to_string(index) + ".wav";
}

std::optional<int> RadioForIndex(int soundIndex)
{
    if (!IsChoice(soundIndex)) {
        return std::nullopt;
    }
    return kSoundRadioFirstId + soundIndex - 1;
}

std::optional<int> IndexForRadio(int controlId)
{
    if (controlId < kSoundRadioFirstId || controlId > kSoundRadioLastId) {
        return std::nullopt;
    }
    return controlId - kSoundRadioFirstId + 1;
}

std::string StoreSoundChoice(ISettings& settings, const std::string& soundFolder, const std::string& ownSound,
                             int soundIndex)
{
    if (!IsChoice(soundIndex)) {
        return std::string();
    }
    const std::string path = soundIndex == kOwnSoundIndex ? ownSound : BuiltInSoundPath(soundFolder, soundIndex);
    WriteSetting(settings, kSoundFileSetting, path);
    WriteSetting(settings, kSoundIndexSetting, soundIndex);
    return path;
}

bool IsOnBackLink(int x, int y)
{
    return x > 10 && x <= 150 && y > 200 && y <= 230;
}

}  // namespace tarnelix
