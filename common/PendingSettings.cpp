#include "common/PendingSettings.h"

#include <iterator>

int PendingSettings::GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const
{
    const auto kept = pending.find({section, entry});
    if (kept == pending.end()) {
        return store.GetProfileInt(section, entry, defaultValue);
    }
    // A text asked for as a number reads as the default, as in the store.
    return kept->second.isNumber ? kept->second.number : defaultValue;
}

std::string PendingSettings::GetProfileString(const std::string& section, const std::string& entry,
                                              const std::string& defaultValue) const
{
    const auto kept = pending.find({section, entry});
    if (kept == pending.end()) {
        return store.GetProfileString(section, entry, defaultValue);
    }
    return kept->second.isNumber ? defaultValue : kept->second.text;
}

bool PendingSettings::WriteProfileInt(const std::string& section, const std::string& entry, int value)
{
    Kept kept;
    kept.isNumber = true;
    kept.number = value;
    return Settle({section, entry}, kept, store.WriteProfileInt(section, entry, value));
}

bool PendingSettings::WriteProfileString(const std::string& section, const std::string& entry,
                                         const std::string& value)
{
    Kept kept;
    kept.text = value.substr(0, value.find('\0'));
    if (!FitsProfileText(kept.text)) {
        return store.WriteProfileString(section, entry, value);
    }
    return Settle({section, entry}, kept, store.WriteProfileString(section, entry, value));
}

bool PendingSettings::Settle(const Key& key, const Kept& value, bool written)
{
    if (written) {
        pending.erase(key);
    } else {
        pending[key] = value;
    }
    return written;
}

void PendingSettings::RetryPending()
{
    for (auto it = pending.begin(); it != pending.end();) {
        const Kept& kept = it->second;
        const bool written = kept.isNumber ? store.WriteProfileInt(it->first.first, it->first.second, kept.number)
                                           : store.WriteProfileString(it->first.first, it->first.second, kept.text);
        it = written ? pending.erase(it) : std::next(it);
    }
}
