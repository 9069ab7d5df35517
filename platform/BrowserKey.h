#pragma once

#include <optional>
#include <string>

// The browser's own key below the current user's hive,
// "SOFTWARE\Microsoft\Internet Explorer\Main\", where the start page and the
// script-debugger switch live. Opened for each read or write and closed again.
class IBrowserKey {
public:
    virtual ~IBrowserKey() = default;
    // A string value of at most 1023 bytes; nullopt when the key cannot be
    // opened, or the value is missing, not a string or longer.
    virtual std::optional<std::string> ReadString(const char* name) const = 0;
    // Stores `value` as a string whose size includes its terminating zero;
    // false when the key cannot be opened for writing or the write fails.
    virtual bool WriteString(const char* name, const std::string& value) = 0;
};
