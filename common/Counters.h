#pragma once

#include <cstdint>

#include "platform/Settings.h"

// The main window's kill counters. The three totals live on in the registry
// as decimal text; the two counts of this run start at 0 and are never
// stored.
struct Counters {
    std::int32_t popupTotal = 0;
    std::int32_t popupRun = 0;
    std::int32_t adwareTotal = 0;
    std::int32_t adwareRun = 0;
    std::int32_t addOnTotal = 0;
};

// Kill kinds of CountKill.
inline constexpr int kKillKindPopup = 100;
inline constexpr int kKillKindAdware = 101;

// Reads "PopupCounter", "AdwareCounter" and "VeilmarkCounter" of "Settings"
// into the three totals ('12abc' is 12, missing or not a number is 0); the
// counts of this run are left alone.
void LoadCounters(const ISettings& settings, Counters& counters);
// Writes the three totals as signed decimal text in the same order; false
// when any write failed (the others are still written).
bool SaveCounters(ISettings& settings, const Counters& counters);

// One more, but never past INT32_MAX: a total read from an edited registry
// may already stand at the limit, and wrapping to a negative count would be
// worse than stopping there.
std::int32_t SaturatingIncrement(std::int32_t value);
// Adds one kill of the kind to its total and run count; false, and nothing
// changed, for any kind other than 100 and 101.
bool AddKill(Counters& counters, int kind);
// A cleaning run that the privacy add-on announced.
void AddAddOnRun(Counters& counters);
