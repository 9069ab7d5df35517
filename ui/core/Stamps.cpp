#include "ui/core/Stamps.h"

#include <cstddef>
#include <ctime>

#include "common/AppSettings.h"

// Stamps are compared over years; a 32-bit time_t would end them in 2038.
static_assert(sizeof(std::time_t) >= 8, "time stamps need a 64-bit time_t");

namespace tarnelix {

namespace {

constexpr std::size_t kStampBufferSize = 128;

bool ToLocalTime(std::time_t time, std::tm& out)
{
#ifdef _WIN32
    return localtime_s(&out, &time) == 0;
#else
    return localtime_r(&time, &out) != nullptr;
#endif
}

// Decimal digits from position `first`, at most `width` of them, stopping
// at the first other character or the end of the text.
int ReadField(const std::string& text, std::size_t first, std::size_t width)
{
    int value = 0;
    for (std::size_t i = first; i < first + width && i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

std::string FormatStamp(std::int64_t secondsSince1970)
{
    std::tm local{};
    if (!ToLocalTime(static_cast<std::time_t>(secondsSince1970), local)) {
        return std::string();
    }
    char buffer[kStampBufferSize] = {};
    const std::size_t length = std::strftime(buffer, sizeof buffer, kTimeStampFormat, &local);
    return std::string(buffer, length);
}

std::int64_t ReadStamp(const std::string& stamp)
{
    std::tm fields{};
    fields.tm_year = ReadField(stamp, 0, 4) - 1900;
    fields.tm_mon = ReadField(stamp, 5, 2) - 1;
    fields.tm_mday = ReadField(stamp, 8, 2);
    fields.tm_hour = ReadField(stamp, 11, 2);
    fields.tm_min = ReadField(stamp, 14, 2);
    fields.tm_sec = ReadField(stamp, 17, 2);
    fields.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&fields);
    // glibc returns negative seconds for times before 1970 where msvcrt
    // returns -1; both become -1 so the notices behave alike everywhere.
    if (seconds < 0) {
        return -1;
    }
    return static_cast<std::int64_t>(seconds);
}

}  // namespace tarnelix
