#include "common/Counters.h"

#include <limits>

#include "common/AppSettings.h"

void LoadCounters(const ISettings& settings, Counters& counters)
{
    counters.popupTotal = ReadCounter(settings, kPopupCounterSetting);
    counters.adwareTotal = ReadCounter(settings, kAdwareCounterSetting);
    counters.addOnTotal = ReadCounter(settings, kVeilmarkCounterSetting);
}

bool SaveCounters(ISettings& settings, const Counters& counters)
{
    const bool popupSaved = WriteCounter(settings, kPopupCounterSetting, counters.popupTotal);
    const bool adwareSaved = WriteCounter(settings, kAdwareCounterSetting, counters.adwareTotal);
    const bool addOnSaved = WriteCounter(settings, kVeilmarkCounterSetting, counters.addOnTotal);
    return popupSaved && adwareSaved && addOnSaved;
}

std::int32_t SaturatingIncrement(std::int32_t value)
{
    return value < std::numeric_limits<std::int32_t>::max() ? value + 1 : value;
}

bool AddKill(Counters& counters, int kind)
{
    if (kind == kKillKindPopup) {
        counters.popupTotal = SaturatingIncrement(counters.popupTotal);
        counters.popupRun = SaturatingIncrement(counters.popupRun);
        return true;
    }
    if (kind == kKillKindAdware) {
        counters.adwareTotal = SaturatingIncrement(counters.adwareTotal);
        counters.adwareRun = SaturatingIncrement(counters.adwareRun);
        return true;
    }
    return false;
}

void AddAddOnRun(Counters& counters)
{
    counters.addOnTotal = SaturatingIncrement(counters.addOnTotal);
}
