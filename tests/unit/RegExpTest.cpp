// The matcher as the update check uses it: one match at a time from an
// offset, its groups read back by number.
#include <gtest/gtest.h>

#include <string>

#include "regex/RegExp.h"

TEST(RegExpSingle, CountIsTheHighestReportedGroupWithByteOffsetsAndUnsetGroupsEmpty)
{
    CRegExp re;
    EXPECT_EQ(re.MatchFrom("Wendle.dll 07-Dec-2026", 0, "(\\w+)\\.(\\w+) (\\d+)", ""), 3);
    EXPECT_EQ(re.GetMatch(1), "Wendle");
    EXPECT_EQ(re.GetMatch(3), "07");
    EXPECT_EQ(re.GetMatchEnd(3), 13);  // "Wendle.dll " is 11 bytes, "07" ends at 13
    // Alternative 2 matched: PCRE reports 3 pairs, group 1 unset (-1, -1).
    ASSERT_EQ(re.MatchFrom("b", 0, "(a)|(b)", ""), 2);
    EXPECT_EQ(re.GetMatch(1), "");
    EXPECT_EQ(re.GetMatchEnd(1), -1);
    EXPECT_EQ(re.GetMatch(2), "b");
    EXPECT_EQ(re.MatchFrom("a", 0, "(a)(x)?", ""), 1);  // a trailing unset group is not reported
    // NUL and high bytes are bytes like any other.
    ASSERT_EQ(re.MatchFrom(std::string("a\0\xe9z", 4), 0, "(\\x00.)(z)", ""), 2);
    EXPECT_EQ(re.GetMatch(1), std::string("\0\xe9", 2));
    EXPECT_EQ(re.GetMatchEnd(2), 4);
    // The whole match is "a" (0..1), group 1 "bc" (1..3): the kept subject
    // must reach the furthest span, not just the whole match.
    ASSERT_EQ(re.MatchFrom("abcd", 0, "a(?=(bc))", ""), 1);
    EXPECT_EQ(re.GetMatch(1), "bc");
    EXPECT_EQ(re.GetMatchEnd(1), 3);
    // From an offset, spans count from the start of the whole subject.
    ASSERT_EQ(re.MatchFrom("a1 a2", 1, "a(\\d)", ""), 1);
    EXPECT_EQ(re.GetMatch(1), "2");
    EXPECT_EQ(re.GetMatchEnd(1), 5);
    EXPECT_EQ(re.MatchFrom("a1", 2, "(x*)", ""), 0);  // at the end: as an empty subject
}
