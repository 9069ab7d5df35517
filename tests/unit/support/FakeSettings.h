#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/Settings.h"

// In-memory ISettings holding each value as the registry does (kind and raw
// bytes), read through the adapter's rules.
class FakeSettings final : public ISettings {
public:
    using Key = std::pair<std::string, std::string>;  // section, entry

    std::map<Key, StoredValue> values;
    std::size_t writeCount = 0;
    bool failTextWrites = false;
    bool failWrites = false;  // every write, as on a key without write access

    void PlantRaw(const std::string& section, const std::string& entry, StoredKind kind, std::string bytes)
    {
        values[{section, entry}] = StoredValue{kind, std::move(bytes)};
    }
    void PlantDword(const std::string& section, const std::string& entry, int value)
    {
        // REG_DWORD is little-endian whatever the host.
        const auto bits = static_cast<std::uint32_t>(value);
        std::string bytes;
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
        }
        PlantRaw(section, entry, StoredKind::Dword, std::move(bytes));
    }
    void PlantText(const std::string& section, const std::string& entry, std::string bytes)
    {
        PlantRaw(section, entry, StoredKind::Text, std::move(bytes));
    }
    bool Has(const std::string& section, const std::string& entry) const
    {
        return values.count({section, entry}) != 0;
    }

    int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const override
    {
        return IntFromStoredValue(Find(section, entry), defaultValue);
    }
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value) override
    {
        if (failWrites) {
            return false;
        }
        ++writeCount;
        PlantDword(section, entry, value);
        return true;
    }
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) const override
    {
        return TextFromStoredValue(Find(section, entry), defaultValue);
    }
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) override
    {
        const std::string text = value.substr(0, value.find('\0'));
        if (failWrites || failTextWrites || !FitsProfileText(text)) {
            return false;
        }
        ++writeCount;
        PlantText(section, entry, text + '\0');
        return true;
    }

private:
    std::optional<StoredValue> Find(const std::string& section, const std::string& entry) const
    {
        const auto found = values.find({section, entry});
        return found == values.end() ? std::nullopt : std::optional<StoredValue>(found->second);
    }
};
