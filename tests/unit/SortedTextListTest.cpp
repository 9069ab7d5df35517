#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/SortedTextList.h"
#include "platform/TextCompare.h"

namespace {

using Lines = std::vector<std::string>;

Lines Texts(const SortedTextList& list)
{
    Lines texts;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        texts.push_back(list.TextAt(i));
    }
    return texts;
}

class SortedTextListTest : public ::testing::Test {
protected:
    AsciiTextCompare compare;
    SortedTextList list{compare};
};

}  // namespace

TEST_F(SortedTextListTest, AddKeepsAscendingOrderIgnoringCaseEqualTextsAfterTheOldOnes)
{
    EXPECT_EQ(list.Add("beta"), 0u);
    EXPECT_EQ(list.Add("Alpha"), 0u);
    EXPECT_EQ(list.Add("gamma"), 2u);
    EXPECT_EQ(list.Add("BETA2"), 2u);
    // Equal texts go after the ones already there.
    EXPECT_EQ(list.Add("ALPHA"), 1u);
    EXPECT_EQ(list.Add("alpha"), 2u);
    EXPECT_EQ(Texts(list), (Lines{"Alpha", "ALPHA", "alpha", "beta", "BETA2", "gamma"}));
}

TEST_F(SortedTextListTest, AddAllGivesTheSameOrderAsAddingOneByOne)
{
    const Lines texts{"b", "A", "a", "C", "B", "", "c", "a", " a"};
    SortedTextList oneByOne(compare);
    oneByOne.Add("B");
    oneByOne.Add("a");
    list.Add("B");
    list.Add("a");
    for (const std::string& text : texts) {
        oneByOne.Add(text);
    }
    list.AddAll(texts);
    EXPECT_EQ(Texts(list), Texts(oneByOne));
}

TEST_F(SortedTextListTest, FindPrefixGivesFirstMatchIgnoringCase)
{
    list.AddAll({"Yahoo! Mail", "yahoo", "Google", "Ya"});
    ASSERT_EQ(Texts(list), (Lines{"Google", "Ya", "yahoo", "Yahoo! Mail"}));
    EXPECT_EQ(list.FindPrefix("YAH"), 2u);
    EXPECT_EQ(list.FindPrefix("ya"), 1u);
    EXPECT_EQ(list.FindPrefix("Yahoo!"), 3u);
    EXPECT_FALSE(list.FindPrefix("Yahoo! Mail and more"));
    EXPECT_FALSE(list.FindPrefix("oo"));
    EXPECT_EQ(list.FindPrefix(""), 0u);
}

TEST_F(SortedTextListTest, FindExactIgnoresCaseButNotLength)
{
    list.AddAll({"Popup", "Popup Ad"});
    EXPECT_EQ(list.FindExact("POPUP"), 0u);
    EXPECT_EQ(list.FindExact("popup ad"), 1u);
    EXPECT_FALSE(list.FindExact("Pop"));
    EXPECT_FALSE(list.FindExact("Popup Ad "));
    SortedTextList empty(compare);
    EXPECT_FALSE(empty.FindExact(""));
    EXPECT_FALSE(empty.FindPrefix(""));
}

TEST_F(SortedTextListTest, SelectionMarksStayWithTheirEntries)
{
    list.AddAll({"a", "b", "c", "d"});
    list.SetSelected(1, true);
    list.ToggleSelected(3);
    list.ToggleSelected(2);
    list.ToggleSelected(2);
    ASSERT_TRUE(list.DeleteAt(0));
    EXPECT_EQ(Texts(list), (Lines{"b", "c", "d"}));
    EXPECT_TRUE(list.IsSelected(0));
    EXPECT_FALSE(list.IsSelected(1));
    EXPECT_TRUE(list.IsSelected(2));

    // A sorted insert in front moves the marks along with the entries.
    list.Add("A0");
    EXPECT_TRUE(list.IsSelected(1));
    EXPECT_FALSE(list.IsSelected(0));
}

TEST_F(SortedTextListTest, IndexesOutOfRangeChangeNothing)
{
    list.Add("only");
    EXPECT_EQ(list.TextAt(1), "");
    EXPECT_FALSE(list.IsSelected(7));
    EXPECT_FALSE(list.SetSelected(1, true));
    EXPECT_FALSE(list.ToggleSelected(1));
    EXPECT_FALSE(list.DeleteAt(1));
    EXPECT_EQ(list.Count(), 1u);
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_FALSE(list.DeleteAt(0));
}
