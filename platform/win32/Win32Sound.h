// ISoundPlayer over the system's wave playback.
#pragma once

#include <string>
#include <vector>

#include "platform/Sound.h"

class Win32SoundPlayer final : public ISoundPlayer {
public:
    // Plays without waiting. No flag suppresses the default sound, so a
    // missing file plays the system's default sound, as users expect.
    void PlayAsync(const std::string& path) override;
};
