#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/StringPairList.h"

TEST(StringPairList, SetReplacesTheSecondOfAnExactFirstOrAppendsAndLookupsAreExact)
{
    StringPairList pairs;
    pairs.Set("one", "1");
    pairs.Set("blank", "");
    pairs.Set("One", "uno");  // differs in case: a new pair
    pairs.Set("one", "I");
    ASSERT_EQ(pairs.Count(), 3u);
    EXPECT_EQ(pairs.At(0).first, "one");
    EXPECT_EQ(pairs.At(0).second, "I");
    EXPECT_EQ(pairs.At(2).first, "One");
    EXPECT_EQ(pairs.Lookup("One"), "uno");
    EXPECT_EQ(pairs.Lookup("ONE"), "");
    EXPECT_EQ(pairs.Lookup("missing"), "");
    ASSERT_NE(pairs.FindByFirst("blank"), nullptr);  // told apart from a missing one
    EXPECT_EQ(pairs.FindByFirst("missing"), nullptr);
}

TEST(StringPairList, FindBySecondGivesTheFirstPairInOrder)
{
    StringPairList pairs;
    pairs.Set("Foo Tool", "foo.exe");
    pairs.Set("Foo Again", "foo.exe");
    pairs.Set("Bar", "Foo.exe");
    const StringPair* found = pairs.FindBySecond("foo.exe");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->first, "Foo Tool");
    EXPECT_EQ(pairs.FindBySecond("FOO.EXE"), nullptr);
}

TEST(StringPairList, WalkVisitsPairsInOrderAndClearEmptiesEverything)
{
    StringPairList pairs;
    pairs.Set("c", "3");
    pairs.Set("a", "1");
    pairs.Set("b", "2");
    std::string walked;
    for (const StringPair& pair : pairs) {
        walked += pair.first + pair.second;
    }
    EXPECT_EQ(walked, "c3a1b2");
    pairs.Clear();
    EXPECT_EQ(pairs.Count(), 0u);
    EXPECT_EQ(pairs.FindByFirst("a"), nullptr);
    EXPECT_EQ(pairs.At(0).first, "");
    pairs.Set("a", "again");
    EXPECT_EQ(pairs.Lookup("a"), "again");
}
