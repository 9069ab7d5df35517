#include "ui/core/SoundChoice.h"

#include <cstdio>
#include <vector>

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
    const char* pattern = "%ssound%d.wav";
    const int length = std::snprintf(nullptr, 0, pattern, soundFolder.c_str(), index);
    if (length < 0) {
        return std::string();
    }
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::snprintf(text.data(), text.size(), pattern, soundFolder.c_str(), index);
    return std::string(text.data(), static_cast<std::size_t>(length));
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

std::string SoundChoiceLabel(int soundIndex)
{
    if (!IsChoice(soundIndex)) {
        return std::string();
    }
    return kSoundChoiceLabels[static_cast<std::size_t>(soundIndex - 1)];
}

std::string SoundPathForIndex(const std::string& soundFolder, const std::string& ownSound, int soundIndex)
{
    if (!IsChoice(soundIndex)) {
        return std::string();
    }
    if (soundIndex == kOwnSoundIndex) {
        return ownSound;
    }
    return BuiltInSoundPath(soundFolder, soundIndex);
}

std::string StoreSoundChoice(ISettings& settings, const std::string& soundFolder, const std::string& ownSound,
                             int soundIndex)
{
    if (!IsChoice(soundIndex)) {
        return std::string();
    }
    const std::string path = SoundPathForIndex(soundFolder, ownSound, soundIndex);
    WriteSetting(settings, kSoundFileSetting, path);
    WriteSetting(settings, kSoundIndexSetting, soundIndex);
    return path;
}

bool IsOnBackLink(int x, int y)
{
    return x > 10 && x <= 150 && y > 200 && y <= 230;
}

}  // namespace tarnelix
