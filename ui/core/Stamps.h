#pragma once

#include <cstdint>
#include <string>

namespace tarnelix {

// Time stamps of the "Notifications" values: local time written as
// "%Y-%m-%d %H:%M:%S".

// Seconds since 1970 → local time text; empty when the C library cannot
// convert or format the time (msvcrt refuses times before 1970 and after
// the year 3000).
std::string FormatStamp(std::int64_t secondsSince1970);

// Local time text → seconds since 1970. The six fields stand at fixed
// characters (year 0-3, month 5-6, day 8-9, hour 11-12, minute 14-15,
// second 17-18); each is read as decimal digits up to the first other
// character, so an unreadable field is 0. Daylight saving time is left to
// the system and out-of-range fields are normalised as mktime does. A time
// before 1970 (which includes every unreadable stamp, whose year reads as
// 0) is -1, so that any interval measured from it has elapsed.
std::int64_t ReadStamp(const std::string& stamp);

}  // namespace tarnelix
