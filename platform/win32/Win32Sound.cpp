#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/Win32Sound.h"

#include <cstdio>

Win32SoundPlayer::Win32SoundPlayer() {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("TARNELIX_SOUND_LOG", path, sizeof(path));
    if (length > 0 && length < sizeof(path)) {
        logPath = path;
    }
}

void Win32SoundPlayer::PlayAsync(const std::string& path) {
    PlaySoundA(path.c_str(), nullptr, SND_ASYNC | SND_FILENAME);
    if (logPath.empty()) {
        return;
    }
    if (FILE* log = std::fopen(logPath.c_str(), "a")) {
        std::fprintf(log, "async %s\n", path.c_str());
        std::fclose(log);
    }
}
