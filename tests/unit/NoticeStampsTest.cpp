#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <string>

#include "ui/core/Stamps.h"

using tarnelix::FormatStamp;
using tarnelix::ReadStamp;

namespace {

// Seconds of a local time as this machine's C library sees it, so the
// expectations hold in any time zone and under both glibc and msvcrt.
std::int64_t Local(int year, int month, int day, int hour, int minute, int second)
{
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&fields));
}

}  // namespace

TEST(NoticeStampWrite, FormatsLocalTimeWithDashesAndColons)
{
    EXPECT_EQ(FormatStamp(Local(2004, 6, 15, 12, 30, 45)), "2004-06-15 12:30:45");
    EXPECT_EQ(FormatStamp(Local(2003, 1, 2, 3, 4, 5)), "2003-01-02 03:04:05");
}

TEST(NoticeStampWrite, TimeTheLibraryCannotConvertGivesEmptyStamp)
{
    // Far beyond any calendar: glibc and msvcrt both refuse it.
    EXPECT_EQ(FormatStamp(INT64_C(0x7FFFFFFFFFFFFFFF)), "");
}

TEST(NoticeStampRead, ReadsTheSixFieldsAsLocalTime)
{
    EXPECT_EQ(ReadStamp("2004-06-15 12:30:45"), Local(2004, 6, 15, 12, 30, 45));
    EXPECT_EQ(ReadStamp("2004-01-15 12:00:00"), Local(2004, 1, 15, 12, 0, 0));
}

TEST(NoticeStampRead, RoundTripGivesTheSameSecond)
{
    const std::int64_t summer = Local(2004, 7, 1, 9, 15, 0);
    const std::int64_t winter = Local(2005, 12, 24, 18, 0, 59);
    EXPECT_EQ(ReadStamp(FormatStamp(summer)), summer);
    EXPECT_EQ(ReadStamp(FormatStamp(winter)), winter);
}

TEST(NoticeStampRead, SeparatorsAreNotLookedAt)
{
    // Only the character positions count.
    EXPECT_EQ(ReadStamp("2004/06/15T12.30.45"), Local(2004, 6, 15, 12, 30, 45));
}

TEST(NoticeStampRead, FieldStopsAtTheFirstNonDigit)
{
    // A short month shifts everything: "2004-6-15 12:00:00" has month "6-",
    // day "5 ", hour "2:", minute "0:" and second "0".
    EXPECT_EQ(ReadStamp("2004-6-15 12:00:00"), Local(2004, 6, 5, 2, 0, 0));
}

TEST(NoticeStampRead, MissingTrailingFieldsReadAsZero)
{
    EXPECT_EQ(ReadStamp("2004-06-15"), Local(2004, 6, 15, 0, 0, 0));
}

TEST(NoticeStampRead, OutOfRangeFieldsAreNormalised)
{
    // Month 13 of 2004 is January 2005; 25:00 is 1:00 the next day.
    EXPECT_EQ(ReadStamp("2004-13-01 00:00:00"), Local(2005, 1, 1, 0, 0, 0));
    EXPECT_EQ(ReadStamp("2004-06-15 25:00:00"), Local(2004, 6, 16, 1, 0, 0));
}

TEST(NoticeStampRead, UnreadableStampIsMinusOneSoItCountsAsLongAgo)
{
    EXPECT_EQ(ReadStamp(""), -1);
    EXPECT_EQ(ReadStamp("garbage"), -1);
    EXPECT_EQ(ReadStamp("yesterday at noon"), -1);
}

TEST(NoticeStampRead, TimeBefore1970IsMinusOne)
{
    // glibc would give a negative count, msvcrt -1: both are -1 here.
    EXPECT_EQ(ReadStamp("1960-05-01 12:00:00"), -1);
    EXPECT_EQ(ReadStamp("1969-06-30 12:00:00"), -1);
}

TEST(NoticeStampRead, YearsBeyond2038NeedNoWrap)
{
    // 64-bit seconds: 2040 is past the 32-bit limit of 2038-01-19.
    const std::int64_t later = ReadStamp("2040-03-01 12:00:00");
    EXPECT_GT(later, INT64_C(2147483647));
    EXPECT_EQ(later, Local(2040, 3, 1, 12, 0, 0));
}
