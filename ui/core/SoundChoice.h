#pragma once

#include <optional>
#include <string>

#include "platform/Settings.h"

namespace tarnelix {

// The sound page (CSound, template 154): twelve radio buttons, eleven
// built-in kill sounds in the sound folder and one file of the user's own.

inline constexpr int kSoundChoiceCount = 12;
inline constexpr int kOwnSoundIndex = 12;
inline constexpr int kSoundRadioFirstId = 1054;  // index 1, "Pop"
inline constexpr int kSoundRadioLastId = 1065;   // index 12, own sound

// "%ssound%d.wav": the sound folder and the index ("C:\S\" and 10 give
// "C:\S\sound10.wav").
std::string BuiltInSoundPath(const std::string& soundFolder, int index);
// The radio button of a "SoundIndex" 1..12 (1053 + index); none for 0 (no
// choice made yet) or anything out of range.
std::optional<int> RadioForIndex(int soundIndex);
// The index of radio button 1054..1065.
std::optional<int> IndexForRadio(int controlId);

// Selecting index 1..12: writes "SoundFile" and "SoundIndex" and returns the
// path for the main window's kill sound and the preview (played only when
// not empty): the own sound for 12, else the built-in file. Nothing is
// written for another index.
std::string StoreSoundChoice(ISettings& settings, const std::string& soundFolder, const std::string& ownSound,
                             int soundIndex);

// The "<< Back to General Settings" area in client pixels: 10 < x <= 150
// and 200 < y <= 230.
bool IsOnBackLink(int x, int y);

}  // namespace tarnelix
