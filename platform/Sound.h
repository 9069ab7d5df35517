#pragma once

#include <string>

// Wave playback that returns at once. No flag suppresses the system's
// default sound, so a missing file plays that one instead of nothing.
class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    virtual void PlayAsync(const std::string& path) = 0;
};
