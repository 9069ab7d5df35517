#pragma once

#include <map>
#include <string>
#include <utility>

#include "platform/Settings.h"

// The program's settings as the user set them, also while the store refuses
// to write (a key without write access, a full registry). A failed write is
// kept: reads answer with the kept value, so the program goes on as the user
// set it, and RetryPending writes what is kept once the store takes it
// again. Values the store refuses by rule (texts too long to be read back)
// are not kept, as no retry could ever write them.
//
// Section and entry names are compared exactly; the program spells each one
// the same way everywhere.
class PendingSettings final : public ISettings {
public:
    explicit PendingSettings(ISettings& store) : store(store) {}

    int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const override;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value) override;
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) const override;
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) override;

    // Writes every kept value again; those that take are no longer kept.
    void RetryPending();
    bool HasPending() const { return !pending.empty(); }

private:
    struct Kept {
        bool isNumber = false;
        int number = 0;
        std::string text;
    };
    using Key = std::pair<std::string, std::string>;

    bool Settle(const Key& key, const Kept& value, bool written);

    ISettings& store;
    std::map<Key, Kept> pending;
};
