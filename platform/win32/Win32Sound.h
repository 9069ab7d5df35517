// ISoundPlayer over the system's wave playback.
#pragma once

#include <string>

#include "platform/Sound.h"

class Win32SoundPlayer final : public ISoundPlayer {
public:
    // When the environment names a sound log (TARNELIX_SOUND_LOG), every
    // call is also appended to it, so the tests can tell what was played
    // on machines without a sound device.
    Win32SoundPlayer();

    // Plays without waiting. No flag suppresses the default sound, so a
    // missing file plays the system's default sound, as users expect.
    void PlayAsync(const std::string& path) override;

private:
    std::string logPath;
};
