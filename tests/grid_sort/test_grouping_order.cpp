// How the grouping list gathers rows into groups and orders groups, apart from any window.
#include "tests/grid_sort/SortTestSupport.h"

#include "controls/grid/CGridColumnTraitText.h"
#include "controls/grid/GridGroupOrder.h"

#include <algorithm>

using namespace sorttest;

namespace {

std::vector<CString> Texts(std::initializer_list<const wchar_t*> texts)
{
    std::vector<CString> v;
    for (const wchar_t* t : texts)
        v.emplace_back(t);
    return v;
}

std::string Describe(const std::vector<GroupOfRows>& groups)
{
    std::string s;
    for (const GroupOfRows& g : groups) {
        s += "'" + uitest::Narrow(g.text.GetString()) + "':";
        for (int r : g.rows)
            s += " " + std::to_string(r);
        s += "; ";
    }
    return s;
}

}  // namespace

TEST(GroupRowsByText, GroupsInTheOrderTheTextsFirstOccurExactlyAsWritten)
{
    EXPECT_EQ("'b': 0 2; 'a': 1; ", Describe(GroupRowsByText(Texts({L"b", L"a", L"b"}))));
    EXPECT_EQ("'A': 0; 'a': 1; ", Describe(GroupRowsByText(Texts({L"A", L"a"})))) << "case counts";
    EXPECT_EQ("'': 0 2; 'x': 1; ", Describe(GroupRowsByText(Texts({L"", L"x", L""})))) << "empty is a group";
    EXPECT_EQ("", Describe(GroupRowsByText({})));
}

TEST(CompareGroupHeaders, OrdersGroupsByTheColumnTraitOfTheirHeaders)
{
    CGridColumnTraitText text;
    GroupSortContext context;
    context.trait = &text;
    context.headers = {{1, L"b"}, {2, L"a"}, {3, L"B"}};
    context.ascending = true;
    EXPECT_GT(CompareGroupHeaders(1, 2, &context), 0);
    EXPECT_LT(CompareGroupHeaders(2, 1, &context), 0);
    EXPECT_EQ(0, CompareGroupHeaders(1, 3, &context)) << "the text trait folds A-Z";
    EXPECT_GT(CompareGroupHeaders(2, 7, &context), 0) << "an unknown id counts as an empty header";
    context.ascending = false;
    EXPECT_LT(CompareGroupHeaders(1, 2, &context), 0);

    CGridColumnTraitText numbers;
    numbers.SortAsNumber = true;
    context.trait = &numbers;
    context.ascending = true;
    context.headers = {{1, L"10"}, {2, L"9"}};
    EXPECT_GT(CompareGroupHeaders(1, 2, &context), 0) << "9 before 10";
}

TEST(CompareGroupEntries, KeepsThePreviousOrderUntilTheGroupsWereOrderedByAClick)
{
    CGridColumnTraitText text;
    const GroupOrderEntry three{3, L"a", -1, &text};
    const GroupOrderEntry one{1, L"b", -1, &text};
    EXPECT_GT(CompareGroupEntries(three, one), 0) << "by id: the previous order";

    GroupOrderEntry a{5, L"a", 1, &text};
    GroupOrderEntry b{2, L"b", 1, &text};
    EXPECT_LT(CompareGroupEntries(a, b), 0) << "ascending by header";
    a.direction = 0;
    b.direction = 0;
    EXPECT_GT(CompareGroupEntries(a, b), 0) << "descending";

    std::vector<GroupOrderEntry> entries = {{1, L"c", 1, &text}, {2, L"a", 1, &text}, {3, L"b", 1, &text}};
    std::sort(entries.begin(), entries.end(),
              [](const GroupOrderEntry& x, const GroupOrderEntry& y) { return CompareGroupEntries(x, y) < 0; });
    EXPECT_EQ(2, entries[0].id);
    EXPECT_EQ(3, entries[1].id);
    EXPECT_EQ(1, entries[2].id);
}
