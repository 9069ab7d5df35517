#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "regex/RegExp.h"

namespace {

const char* const kExecError = "Error matching expression";

// One entry line as nginx's autoindex writes it: the name padded to column
// 51, the date, the size right-aligned in 20 columns.
std::string AutoindexLine(const std::string& name, const std::string& date,
                          const std::string& size) {
    std::string line = "<a href=\"" + name + "\">" + name + "</a>";
    line += std::string(name.size() < 50 ? 51 - name.size() : 1, ' ');
    line += date;
    line += std::string(size.size() < 20 ? 20 - size.size() : 1, ' ');
    return line + size + "\r\n";
}

std::string AutoindexPage(const std::vector<std::string>& body) {
    std::string page =
        "<html>\r\n<head><title>Index of /update/</title></head>\r\n<body>\r\n"
        "<h1>Index of /update/</h1><hr><pre><a href=\"../\">../</a>\r\n";
    for (const std::string& line : body) {
        page += line;
    }
    return page + "</pre><hr></body>\r\n</html>\r\n";
}

const std::string kListing = AutoindexPage({
    AutoindexLine("Tarnelix.exe", "07-Dec-2026 06:09", "524288"),
    AutoindexLine("Wendle.dll", "07-Dec-2026 06:10", "3"),
    AutoindexLine("Adware.dat", "01-Nov-2026 17:45", "2048"),
});

const char* const kHrefPattern = "<a href=\"([^\"/]+)\">";

std::string Repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) {
        result += text;
    }
    return result;
}

}  // namespace

// --- Modifier letters -------------------------------------------------------

struct ModifierCase {
    const char* modifiers;
    const char* subject;
    const char* pattern;
    int expected;  // single mode: highest group; global: number of matches
};

TEST(RegExpModifiers, LettersMapToOptionsAndUnknownOnesClearThem) {
    const ModifierCase cases[] = {
        {"im", "first\nSECOND", "^(second)$", 1},
        {"IM", "first\nSECOND", "^(second)$", 1},  // lower-cased first
        {"i", "first\nSECOND", "^(second)$", -1},  // ^ only at offset 0
        {"m", "first\nSECOND", "^(second)$", -1},  // case matters
        {"i?", "ABC", "(abc)", -1},  // '?' dropped the i
        {"qi", "ABC", "(abc)", 1},   // letters after it still count
        {"s", "a\nb", "(a.b)", 1},
        {"", "a\nb", "(a.b)", -1},
        {"x", "Wendle.dll", "( \\w+ ) \\. (dll)  # name, extension", 2},
        {"", "Wendle.dll", "( \\w+ ) \\. (dll)", -1},
        {"G", "ab ab ab", "(ab)", 3},
        {"g?", "x1 x2", "x(\\d)", 2},   // global survives the clearing
        {"ig-", "X1 x2", "x(\\d)", 1},  // ... caseless does not
    };
    CRegExp re;
    for (const ModifierCase& c : cases) {
        EXPECT_EQ(re.Match(c.subject, c.pattern, c.modifiers), c.expected)
            << '"' << c.modifiers << "\" on " << c.pattern;
    }
    EXPECT_EQ(re.GetMatch(1), "2");
}

// --- Single mode ------------------------------------------------------------

TEST(RegExpSingle, CountIsHighestReportedGroup) {
    CRegExp re;
    EXPECT_EQ(re.Match("Wendle.dll 07-Dec-2026", "(\\w+)\\.(\\w+) (\\d+)", ""), 3);
    EXPECT_EQ(re.GetMatch(1), "Wendle");
    EXPECT_EQ(re.GetMatch(2), "dll");
    EXPECT_EQ(re.GetMatch(3), "07");
    EXPECT_EQ(re.GetMatchEnd(3), 13);  // "Wendle.dll " is 11 bytes, "07" ends at 13
    EXPECT_EQ(re.GetMatch(4), "");
    EXPECT_EQ(re.GetMatchEnd(4), -2);
    // Group 0 is empty though span 0 holds the whole match.
    EXPECT_EQ(re.GetMatch(0), "");
    EXPECT_EQ(re.GetMatchEnd(0), -2);
    EXPECT_EQ(re.GetMatch(-1), "");
}

TEST(RegExpSingle, MatchWithoutGroupsCountsZeroAndGlobalCountsMatchesWithEmptyTexts) {
    CRegExp re;
    EXPECT_EQ(re.Match("Wendle.dll", "dll", ""), 0);
    EXPECT_EQ(re.GetMatch(1), "");
    EXPECT_EQ(re.GetMatchEnd(1), -1);  // count 0
    ASSERT_EQ(re.Match("x1 x2 x3", "x\\d", "g"), 3);
    EXPECT_EQ(re.GetMatch(2), "");
    EXPECT_EQ(re.GetMatchEnd(2), -1);
}

TEST(RegExpSingle, UnsetGroupGivesEmptyText) {
    CRegExp re;
    // Alternative 2 matched: PCRE reports 3 pairs, group 1 unset (-1, -1).
    ASSERT_EQ(re.Match("b", "(a)|(b)", ""), 2);
    EXPECT_EQ(re.GetMatch(1), "");
    EXPECT_EQ(re.GetMatchEnd(1), -1);
    EXPECT_EQ(re.GetMatch(2), "b");
    // A trailing unset group is not reported at all.
    EXPECT_EQ(re.Match("a", "(a)(x)?", ""), 1);
    EXPECT_EQ(re.GetMatch(2), "");
}

TEST(RegExpSingle, NoMatchGivesMinusOneAndNoSpans) {
    CRegExp re;
    re.lastError = "earlier";
    EXPECT_EQ(re.Match("Wendle.dll", "(exe)", ""), -1);
    EXPECT_EQ(re.GetMatch(1), "");
    EXPECT_EQ(re.GetMatchEnd(1), -2);
    EXPECT_EQ(re.lastError, "earlier");  // no match is not a failure
}

TEST(RegExpSingle, OffsetsAreBytesAcrossNulAndHighBytes) {
    CRegExp re;
    const std::string subject("a\0\xe9z", 4);
    ASSERT_EQ(re.Match(subject, "(z)", ""), 1);
    EXPECT_EQ(re.GetMatchEnd(1), 4);
    ASSERT_EQ(re.Match(subject, "(\\x00.)", ""), 1);
    EXPECT_EQ(re.GetMatch(1), std::string("\0\xe9", 2));
}

TEST(RegExpSingle, GroupInsideLookaheadReachesPastTheWholeMatch) {
    CRegExp re;
    // The whole match is "a" (0..1), group 1 is "bc" (1..3): the kept
    // subject must reach the furthest span, not just the whole match.
    ASSERT_EQ(re.Match("abcd", "a(?=(bc))", ""), 1);
    EXPECT_EQ(re.GetMatch(1), "bc");
    EXPECT_EQ(re.GetMatchEnd(1), 3);
}

// --- Global mode ------------------------------------------------------------

TEST(RegExpGlobal, ReadsFileNamesOfNginxListing) {
    CRegExp re;
    ASSERT_EQ(re.Match(kListing, kHrefPattern, "g"), 3);  // "../" is excluded by '/'
    EXPECT_EQ(re.GetMatch(1), "Tarnelix.exe");
    EXPECT_EQ(re.GetMatch(2), "Wendle.dll");
    EXPECT_EQ(re.GetMatch(3), "Adware.dat");
    const size_t wendle = kListing.find("<a href=\"Wendle.dll\">");
    EXPECT_EQ(re.GetMatchEnd(2), static_cast<int>(wendle + 9 + 10));  // 9 = `<a href="`
    EXPECT_EQ(re.GetMatch(4), "");

    EXPECT_EQ(re.Match(kListing, "<img src=\"([^\"]+)\"", "g"), 0);  // no match
    EXPECT_EQ(re.GetMatchEnd(1), -1);
}

TEST(RegExpGlobal, MoreThanFiftyMatchesKeepsFirstFifty) {
    CRegExp re;
    std::string subject;
    for (int i = 1; i <= 60; ++i) {
        subject += "<" + std::to_string(i) + ">";
    }
    ASSERT_EQ(re.Match(subject, "<(\\d+)>", "g"), 50);
    EXPECT_EQ(re.GetMatch(1), "1");
    EXPECT_EQ(re.GetMatch(50), "50");
    EXPECT_EQ(re.GetMatch(51), "");
    EXPECT_EQ(re.GetMatchEnd(51), -2);
    // "<1>".."<9>" are 27 bytes, "<10>".."<50>" 41 * 4 = 164: "50" ends at 190.
    EXPECT_EQ(re.GetMatchEnd(50), 190);
}

TEST(RegExpGlobal, EmptyMatchRepeatsUntilFifty) {
    CRegExp re;
    // Each pass starts where the previous whole match ended, which an empty
    // match does not move: the same span comes back until the limit.
    ASSERT_EQ(re.Match("abc", "(x*)", "g"), 50);
    EXPECT_EQ(re.GetMatchEnd(1), 0);
    EXPECT_EQ(re.GetMatchEnd(50), 0);
    EXPECT_EQ(re.GetMatch(50), "");
    ASSERT_EQ(re.Match("aa:", "(a*)", "g"), 50);
    EXPECT_EQ(re.GetMatch(1), "aa");
    EXPECT_EQ(re.GetMatchEnd(2), 2);  // empty at offset 2 from then on
    EXPECT_EQ(re.GetMatch(50), "");
}

// --- Failures ---------------------------------------------------------------

TEST(RegExpFailures, CompileErrorPutsPcreTextInLastErrorAndGivesZero) {
    CRegExp re;
    EXPECT_EQ(re.Match("abc", "(abc", ""), 0);
    EXPECT_EQ(re.lastError, "missing )");
    EXPECT_EQ(re.Match("abc", "a[b", "g"), 0);
    EXPECT_EQ(re.lastError, "missing terminating ] for character class");
    EXPECT_EQ(re.GetMatchEnd(1), -1);
    // A later success leaves the message in place.
    EXPECT_EQ(re.Match("abc", "(b)", ""), 1);
    EXPECT_EQ(re.lastError, "missing terminating ] for character class");
    // An empty subject gives zero without an error: the pattern is not even compiled.
    re.lastError.clear();
    EXPECT_EQ(re.Match("", "(x*)", "g"), 0);
    EXPECT_EQ(re.Match("", "(", ""), 0);
    EXPECT_EQ(re.lastError, "");
}

TEST(RegExpFailures, FiftyGroupsOverflowVectorAndCountAsError) {
    CRegExp re;
    const std::string pattern = Repeat("(a)", 50);
    const std::string subject(50, 'a');
    EXPECT_EQ(re.Match(subject, pattern, ""), 0);
    EXPECT_EQ(re.lastError, kExecError);
    EXPECT_EQ(re.GetMatch(1), "");

    re.lastError.clear();
    EXPECT_EQ(re.Match(subject, pattern, "g"), 0);
    EXPECT_EQ(re.lastError, kExecError);
    EXPECT_EQ(re.GetMatchEnd(1), -1);

    // 49 groups still fit: whole match plus 49 pairs is 100 of the 150 ints.
    EXPECT_EQ(re.Match(subject, Repeat("(a)", 49), ""), 49);
    EXPECT_EQ(re.GetMatchEnd(49), 49);
}

TEST(RegExpFailures, ExecutionErrorGivesCodeInSingleAndZeroInGlobal) {
    CRegExp re;
    // Invalid UTF-8 under (*UTF8) is refused by pcre_exec with PCRE_ERROR_BADUTF8.
    EXPECT_EQ(re.Match("ok \xff", "(*UTF8)(ok)", ""), PCRE_ERROR_BADUTF8);
    EXPECT_EQ(re.lastError, kExecError);
    EXPECT_EQ(re.GetMatch(1), "");
    EXPECT_EQ(re.GetMatchEnd(1), -2);

    re.lastError.clear();
    EXPECT_EQ(re.Match("ok \xff", "(*UTF8)(ok)", "g"), 0);
    EXPECT_EQ(re.lastError, kExecError);
    EXPECT_EQ(re.GetMatch(1), "");
}

// --- Results of one call against the next -----------------------------------

TEST(RegExpReset, SecondMatchDiscardsEarlierSpans) {
    CRegExp re;
    ASSERT_EQ(re.Match(kListing, kHrefPattern, "g"), 3);
    EXPECT_EQ(re.Match("nothing here", "(\\d)", ""), -1);
    EXPECT_EQ(re.GetMatch(1), "");

    ASSERT_EQ(re.Match(kListing, kHrefPattern, "g"), 3);
    EXPECT_EQ(re.Match("", kHrefPattern, "g"), 0);
    EXPECT_EQ(re.GetMatch(1), "");
    EXPECT_EQ(re.GetMatchEnd(1), -1);

    ASSERT_EQ(re.Match(kListing, kHrefPattern, "g"), 3);
    EXPECT_EQ(re.Match(kListing, "(", "g"), 0);
    EXPECT_EQ(re.GetMatch(1), "");
}

// The update check reads the listing one entry at a time: match, take name
// and date, drop the bytes up to the end of the last span, match again.
TEST(RegExpReset, ListingReadEntryByEntry) {
    CRegExp re;
    std::string rest = kListing;
    std::vector<std::pair<std::string, std::string>> found;
    const char* const pattern = "<a href=\"[^\"]*\">([^<]+\\.[a-z]+)</a>\\s+(\\S+ \\S+)";
    for (int guard = 0; guard < 10; ++guard) {
        const int count = re.Match(rest, pattern, "im");
        if (count == 0) {
            break;
        }
        if (count > 0) {
            found.emplace_back(re.GetMatch(1), re.GetMatch(count));
        }
        const int end = re.GetMatchEnd(count > 0 ? count : 1);
        if (end < 0) {
            break;
        }
        rest.erase(0, static_cast<size_t>(end));
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Tarnelix.exe", "07-Dec-2026 06:09"},
        {"Wendle.dll", "07-Dec-2026 06:10"},
        {"Adware.dat", "01-Nov-2026 17:45"},
    };
    EXPECT_EQ(found, expected);
}
