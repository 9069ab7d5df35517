#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/AdwareList.h"
#include "platform/TextCompare.h"

namespace {

class AdwareListTest : public ::testing::Test {
protected:
    AsciiTextCompare compare;
    AdwareList list{compare};

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < list.Count(); ++i) {
            names.push_back(list.ItemAt(i).name);
        }
        return names;
    }
};

}  // namespace

TEST_F(AdwareListTest, ItemsSortByNameWhileKeyTableKeepsAddOrder)
{
    list.Add("zeta", "z.exe", true);
    list.Add("Alpha", "a.exe", false);
    list.Add("beta", "b.exe", true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Alpha", "beta", "zeta"}));
    ASSERT_EQ(list.KeyTable().Count(), 3u);
    EXPECT_EQ(list.KeyTable().At(0).first, "zeta");
    EXPECT_FALSE(list.ItemAt(0).checked);
}

TEST_F(AdwareListTest, RepeatedNameIsRefusedButOtherCaseIsANewItem)
{
    EXPECT_TRUE(list.Add("Foo Tool", "a.exe", true));
    EXPECT_FALSE(list.Add("Foo Tool", "b.exe", false));
    EXPECT_TRUE(list.Add("foo tool", "c.exe", false));
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.KeyTable().Lookup("Foo Tool"), "a.exe");
}

TEST_F(AdwareListTest, AddAllMatchesAddingOneByOne)
{
    const std::vector<AdwareRecord> records{
        {"b.exe", true, "B"}, {"a.exe", false, "a"}, {"x.exe", true, "B"}, {"c.exe", true, "A"}};
    AdwareList oneByOne(compare);
    for (const AdwareRecord& r : records) {
        oneByOne.Add(r.name, r.key, r.checked);
    }
    list.AddAll(records);
    ASSERT_EQ(list.Count(), oneByOne.Count());
    for (std::size_t i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.ItemAt(i).name, oneByOne.ItemAt(i).name);
        EXPECT_EQ(list.ItemAt(i).checked, oneByOne.ItemAt(i).checked);
        EXPECT_EQ(list.KeyTable().At(i).second, oneByOne.KeyTable().At(i).second);
    }
    EXPECT_EQ(list.KeyTable().Lookup("B"), "b.exe");
}

TEST_F(AdwareListTest, FindNameByKeyIsExact)
{
    list.Add("Foo Tool", "foo.exe", true);
    list.Add("Other", "Foo.exe", true);
    EXPECT_EQ(list.FindNameByKey("foo.exe"), "Foo Tool");
    EXPECT_EQ(list.FindNameByKey("Foo.exe"), "Other");
    EXPECT_FALSE(list.FindNameByKey("FOO.EXE"));
}

TEST_F(AdwareListTest, IsCheckedByPrefixAnswersForTheFirstItemBeginningWithTheName)
{
    list.Add("Foo Tool", "foo.exe", true);
    list.Add("Foo Bar", "bar.exe", false);
    EXPECT_FALSE(list.IsCheckedByPrefix("foo"));  // "Foo Bar" sorts first
    EXPECT_TRUE(list.IsCheckedByPrefix("FOO T"));
    EXPECT_FALSE(list.IsCheckedByPrefix("Bar"));
    list.SetChecked(0, true);
    EXPECT_TRUE(list.IsCheckedByPrefix("foo"));
    EXPECT_FALSE(list.SetChecked(5, true));
    EXPECT_EQ(list.ItemAt(5).name, "");
}
