#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "regex/RegExp.h"

namespace {

const char* const kExecError = "Error matching expression";
const char* const kHrefPattern = "<a href=\"([^\"/]+)\">";

// A listing as nginx's autoindex writes it: name, blanks, date, blanks, size.
std::string Entry(const std::string& name, const std::string& dateAndSize)
{
    return "<a href=\"" + name + "\">" + name + "</a>" + std::string(51 - name.size(), ' ') + dateAndSize + "\r\n";
}

const std::string kListing = "<html>\r\n<head><title>Index of /update/</title></head>\r\n<body>\r\n"
                             "<h1>Index of /update/</h1><hr><pre><a href=\"../\">../</a>\r\n" +
                             Entry("Tarnelix.exe", "07-Dec-2026 06:09              524288") +
                             Entry("Wendle.dll", "07-Dec-2026 06:10                   3") +
                             Entry("Adware.dat", "01-Nov-2026 17:45                2048") +
                             "</pre><hr></body>\r\n</html>\r\n";

}  // namespace

TEST(RegExpModifiers, LettersMapToOptionsAndAnUnknownOneClearsThoseBeforeIt)
{
    const struct {
        const char* modifiers;
        const char* subject;
        const char* pattern;
        int expected;  // single mode: highest group; global: number of matches
    } cases[] = {
        {"im", "first\nSECOND", "^(second)$", 1},
        {"IM", "first\nSECOND", "^(second)$", 1},  // lower-cased first
        {"i", "first\nSECOND", "^(second)$", -1},  // ^ only at offset 0
        {"m", "first\nSECOND", "^(second)$", -1},  // case matters
        {"i?", "ABC", "(abc)", -1},                // '?' dropped the i
        {"qi", "ABC", "(abc)", 1},                 // letters after it still count
        {"s", "a\nb", "(a.b)", 1},
        {"", "a\nb", "(a.b)", -1},
        {"x", "Wendle.dll", "( \\w+ ) \\. (dll)  # name, extension", 2},
        {"", "Wendle.dll", "( \\w+ ) \\. (dll)", -1},
        {"G", "ab ab ab", "(ab)", 3},
        {"g?", "x1 x2", "x(\\d)", 2},   // global survives the clearing
        {"ig-", "X1 x2", "x(\\d)", 1},  // ... caseless does not
    };
    CRegExp re;
    for (const auto& c : cases) {
        EXPECT_EQ(re.Match(c.subject, c.pattern, c.modifiers), c.expected)
            << '"' << c.modifiers << "\" on " << c.pattern;
    }
    EXPECT_EQ(re.GetMatch(1), "2");
}

TEST(RegExpSingle, CountIsTheHighestReportedGroupWithByteOffsetsAndUnsetGroupsEmpty)
{
    CRegExp re;
    EXPECT_EQ(re.Match("Wendle.dll 07-Dec-2026", "(\\w+)\\.(\\w+) (\\d+)", ""), 3);
    EXPECT_EQ(re.GetMatch(1), "Wendle");
    EXPECT_EQ(re.GetMatch(3), "07");
    EXPECT_EQ(re.GetMatchEnd(3), 13);  // "Wendle.dll " is 11 bytes, "07" ends at 13
    // Group 0 and groups past the count are out of range, though span 0 holds the whole match.
    for (const int n : {0, 4, -1}) {
        EXPECT_EQ(re.GetMatch(n), "") << n;
        EXPECT_EQ(re.GetMatchEnd(n), -2) << n;
    }
    // Alternative 2 matched: PCRE reports 3 pairs, group 1 unset (-1, -1).
    ASSERT_EQ(re.Match("b", "(a)|(b)", ""), 2);
    EXPECT_EQ(re.GetMatch(1), "");
    EXPECT_EQ(re.GetMatchEnd(1), -1);
    EXPECT_EQ(re.GetMatch(2), "b");
    EXPECT_EQ(re.Match("a", "(a)(x)?", ""), 1);  // a trailing unset group is not reported
    // NUL and high bytes are bytes like any other.
    const std::string subject("a\0\xe9z", 4);
    ASSERT_EQ(re.Match(subject, "(\\x00.)(z)", ""), 2);
    EXPECT_EQ(re.GetMatch(1), std::string("\0\xe9", 2));
    EXPECT_EQ(re.GetMatchEnd(2), 4);
    // The whole match is "a" (0..1), group 1 "bc" (1..3): the kept subject
    // must reach the furthest span, not just the whole match.
    ASSERT_EQ(re.Match("abcd", "a(?=(bc))", ""), 1);
    EXPECT_EQ(re.GetMatch(1), "bc");
    EXPECT_EQ(re.GetMatchEnd(1), 3);
}

TEST(RegExpSingle, MatchWithoutGroupsCountsZeroAndNoMatchIsMinusOneWithoutAnError)
{
    CRegExp re;
    EXPECT_EQ(re.Match("Wendle.dll", "dll", ""), 0);
    EXPECT_EQ(re.GetMatchEnd(1), -1);  // count 0
    re.lastError = "earlier";
    EXPECT_EQ(re.Match("Wendle.dll", "(exe)", ""), -1);
    EXPECT_EQ(re.GetMatch(1), "");
    EXPECT_EQ(re.GetMatchEnd(1), -2);
    EXPECT_EQ(re.lastError, "earlier");
}

TEST(RegExpGlobal, GroupOneOfEachMatchOfTheNginxListing)
{
    CRegExp re;
    ASSERT_EQ(re.Match(kListing, kHrefPattern, "g"), 3);  // "../" is excluded by '/'
    EXPECT_EQ(re.GetMatch(1), "Tarnelix.exe");
    EXPECT_EQ(re.GetMatch(2), "Wendle.dll");
    EXPECT_EQ(re.GetMatch(3), "Adware.dat");
    const size_t wendle = kListing.find("<a href=\"Wendle.dll\">");
    EXPECT_EQ(re.GetMatchEnd(2), static_cast<int>(wendle + 9 + 10));  // 9 = `<a href="`
    EXPECT_EQ(re.GetMatch(4), "");
    EXPECT_EQ(re.Match(kListing, "<img src=\"([^\"]+)\"", "g"), 0);
    EXPECT_EQ(re.GetMatchEnd(1), -1);
    ASSERT_EQ(re.Match("x1 x2 x3", "x\\d", "g"), 3);  // matches without a group count too
    EXPECT_EQ(re.GetMatch(2), "");
}

TEST(RegExpGlobal, StopsAtFiftyMatchesAndAnEmptyMatchRepeatsUntilThen)
{
    CRegExp re;
    std::string subject;
    for (int i = 1; i <= 60; ++i) {
        subject += "<" + std::to_string(i) + ">";
    }
    ASSERT_EQ(re.Match(subject, "<(\\d+)>", "g"), 50);
    EXPECT_EQ(re.GetMatch(50), "50");
    EXPECT_EQ(re.GetMatchEnd(51), -2);
    // "<1>".."<9>" are 27 bytes, "<10>".."<50>" 41 * 4 = 164: "50" ends at 190.
    EXPECT_EQ(re.GetMatchEnd(50), 190);

    // Each pass starts where the previous whole match ended, which an empty
    // match does not move: the same span comes back until the limit.
    ASSERT_EQ(re.Match("aa:", "(a*)", "g"), 50);
    EXPECT_EQ(re.GetMatch(1), "aa");
    EXPECT_EQ(re.GetMatchEnd(2), 2);
    EXPECT_EQ(re.GetMatch(50), "");
}

TEST(RegExpFailures, CompileAndExecutionErrorsSetLastErrorAndAnEmptySubjectGivesZero)
{
    CRegExp re;
    EXPECT_EQ(re.Match("abc", "(abc", ""), 0);
    EXPECT_EQ(re.lastError, "missing )");
    EXPECT_EQ(re.Match("abc", "a[b", "g"), 0);
    EXPECT_EQ(re.lastError, "missing terminating ] for character class");
    EXPECT_EQ(re.Match("abc", "(b)", ""), 1);  // a success leaves the message
    EXPECT_EQ(re.lastError, "missing terminating ] for character class");
    re.lastError.clear();
    EXPECT_EQ(re.Match("", "(x*)", "g"), 0);
    EXPECT_EQ(re.Match("", "(", ""), 0);  // not even compiled
    EXPECT_EQ(re.lastError, "");

    // Invalid UTF-8 under (*UTF8) is refused by pcre_exec.
    EXPECT_EQ(re.Match("ok \xff", "(*UTF8)(ok)", ""), PCRE_ERROR_BADUTF8);
    EXPECT_EQ(re.lastError, kExecError);
    EXPECT_EQ(re.GetMatchEnd(1), -2);
    re.lastError.clear();
    EXPECT_EQ(re.Match("ok \xff", "(*UTF8)(ok)", "g"), 0);
    EXPECT_EQ(re.lastError, kExecError);

    // 50 groups overflow the 150 ints; 49 fit (whole match + 49 pairs = 100 used).
    std::string groups;
    for (int i = 0; i < 49; ++i) {
        groups += "(a)";
    }
    EXPECT_EQ(re.Match(std::string(50, 'a'), groups, ""), 49);
    EXPECT_EQ(re.GetMatchEnd(49), 49);
    for (const char* modifiers : {"", "g"}) {
        re.lastError.clear();
        EXPECT_EQ(re.Match(std::string(50, 'a'), groups + "(a)", modifiers), 0) << modifiers;
        EXPECT_EQ(re.lastError, kExecError);
        EXPECT_EQ(re.GetMatch(1), "");
    }
}

TEST(RegExpReset, EachMatchDiscardsTheSpansOfTheOneBefore)
{
    CRegExp re;
    for (const auto& next : std::vector<std::pair<std::string, std::string>>{
             {"nothing here", "(\\d)"}, {"", kHrefPattern}, {kListing, "("}}) {
        ASSERT_EQ(re.Match(kListing, kHrefPattern, "g"), 3);
        re.Match(next.first, next.second, "g");
        EXPECT_EQ(re.GetMatch(1), "") << next.second;
    }
}
