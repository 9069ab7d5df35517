#include "common/AppSettings.h"

#include <climits>
#include <cstdint>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

int ReadSetting(const ISettings& settings, const IntSetting& setting)
{
    return settings.GetProfileInt(setting.section, setting.entry, setting.defaultValue);
}

bool WriteSetting(ISettings& settings, const IntSetting& setting, int value)
{
    return settings.WriteProfileInt(setting.section, setting.entry, value);
}

std::string ReadSetting(const ISettings& settings, const TextSetting& setting, const std::string& defaultValue)
{
    return settings.GetProfileString(setting.section, setting.entry, defaultValue);
}

bool WriteSetting(ISettings& settings, const TextSetting& setting, const std::string& value)
{
    return settings.WriteProfileString(setting.section, setting.entry, value);
}

std::string DefaultSoundFile(const std::string& soundFolder)
{
    return soundFolder + kDefaultSoundFileName;
}

int ParseCounterText(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulated as a magnitude up to 2^31, the largest one (INT_MIN) needs.
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
    std::int64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude >= limit) {
            magnitude = limit;
            break;
        }
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int ReadCounter(const ISettings& settings, const TextSetting& counter)
{
    return ParseCounterText(ReadSetting(settings, counter));
}

bool WriteCounter(ISettings& settings, const TextSetting& counter, int value)
{
    return WriteSetting(settings, counter, std::to_string(value));
}
