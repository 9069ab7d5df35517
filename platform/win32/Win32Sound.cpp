#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/Win32Sound.h"

void Win32SoundPlayer::PlayAsync(const std::string& path) {
    PlaySoundA(path.c_str(), nullptr, SND_ASYNC | SND_FILENAME);
}
