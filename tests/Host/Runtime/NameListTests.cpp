#include <gtest/gtest.h>

#include "Host/Runtime/CorvaHashUtils.h"
#include "Host/Runtime/NameList.h"

namespace {

TEST(SortedNameListTest, CaseInsensitiveSortedFirstWins)
{
    TSortedNameList<int> list;
    EXPECT_TRUE(list.Add("TQTKWallVolume", 1));
    EXPECT_TRUE(list.Add("TQTKBeamVolume", 2));
    EXPECT_FALSE(list.Add("tqtkwallvolume", 3)) << "second registration ignored";
    EXPECT_TRUE(list.Add("TQTKColumnVolume", 4));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0].first, "TQTKBeamVolume");
    EXPECT_EQ(list[2].first, "TQTKWallVolume");
    ASSERT_NE(list.Find("TQTKWALLVOLUME"), nullptr);
    EXPECT_EQ(*list.Find("TQTKWALLVOLUME"), 1);
    EXPECT_EQ(list.Find(""), nullptr);
    EXPECT_EQ(list.Find("TQTKWallVolum"), nullptr);
    EXPECT_EQ(list.IndexOf("tqtkcolumnvolume"), 1);
}

TEST(SortedNameListTest, CompareTextOrdersIgnoringCase)
{
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_LT(CompareText("ab", "ABC"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_TRUE(SameText("Material", "MATERIAL"));
    EXPECT_FALSE(SameText("混凝土", "混凝"));
}

TEST(HashUtilsTest, StringKeysIgnoreCase)
{
    TStrKeyStrHash h;
    h.emplace("Area", "1");
    EXPECT_EQ(h.count("AREA"), 1u);
    EXPECT_EQ(h.find("area")->second, "1");
}

}  // namespace
