// The column state in the owner's store: what is written and read, in which order, the default
// state, reset and profiles, and when an attached store is saved.
#include "tests/grid_nav/NavTestSupport.h"

#include <algorithm>

namespace navtest {
namespace {

class ColumnState : public NavFixture {
protected:
    // A (subitem 0, width 80) and C (subitem 2, width 60) visible in that order, B hidden.
    void SetUp() override
    {
        NavFixture::SetUp();
        AddColumns({L"A", L"B", L"C"});
        grid.SetColumnWidth(0, 80);
        grid.SetColumnWidth(1, 70);
        grid.SetColumnWidth(2, 60);
        AddRows(2);
        ASSERT_TRUE(grid.ShowColumn(1, false));
    }
    void TearDown() override
    {
        grid.setStateStore(nullptr, false);
        NavFixture::TearDown();
    }
    static bool HasSet(const std::vector<std::string>& log)
    {
        return std::any_of(log.begin(), log.end(), [](const std::string& s) { return s.rfind("set ", 0) == 0; });
    }
    // A store holding the state stored from the layout of SetUp.
    void StoreLayout(FakeStore& store) { grid.StoreColumnState(&store); }
};

TEST_F(ColumnState, StoringWritesTheVisibleColumnsLeftToRightAfterOneRemoval)
{
    FakeStore store;
    grid.StoreColumnState(&store);
    EXPECT_EQ(store.ownLog,
              (std::vector<std::string>{"remove", "set ColumnData_0=0", "set ColumnWidth_0=80", "set ColumnData_1=2",
                                        "set ColumnWidth_1=60", "set ColumnCount=2"}));
    // A column inserted in front: the others' indexes are no longer their subitems.
    grid.InsertColumn(0, L"D", LVCFMT_LEFT, 50, 3);
    grid.StoreColumnState(&store);
    EXPECT_EQ(3, store.values[L"ColumnData_0"]);
    EXPECT_EQ(0, store.values[L"ColumnData_1"]) << "subitems, not indexes";
}

TEST_F(ColumnState, ApplyingPutsHiddenColumnsFirstAndStoredOnesInTheirOrderWithoutSaving)
{
    FakeStore store;
    StoreLayout(store);
    const std::vector<std::vector<int>> layouts = {{2, 1, 0}, {1, 0, 2}, {0, 2, 1}};
    for (const auto& layout : layouts) {
        for (int c = 0; c < 3; ++c)
            grid.ShowColumn(c, true);
        std::vector<int> order = layout;
        ASSERT_TRUE(grid.SetColumnOrderArray(3, order.data()));
        for (int c = 0; c < 3; ++c)
            grid.SetColumnWidth(c, 33);

        store.ownLog.clear();
        grid.setStateStore(&store, false);
        grid.ApplyColumnState(&store);
        EXPECT_FALSE(HasSet(store.ownLog)) << "the store is detached while the state is applied";
        EXPECT_EQ(grid.stateStore(), &store) << "and attached again afterwards";
        grid.setStateStore(nullptr, false);

        EXPECT_EQ(Order(), (std::vector<int>{1, 0, 2}));
        EXPECT_FALSE(grid.IsColumnVisible(1));
        EXPECT_EQ(grid.GetColumnWidth(1), 0);
        EXPECT_EQ(grid.GetColumnWidth(0), 80);
        EXPECT_EQ(grid.GetColumnWidth(2), 60);
        // B comes back with the width it had when the state hid it.
        ASSERT_TRUE(grid.ShowColumn(1, true));
        EXPECT_EQ(grid.GetColumnWidth(1), 33);
    }
}

// A column hidden already when a state hides it keeps the width it will come back with.
TEST_F(ColumnState, ApplyingKeepsTheSavedWidthOfAColumnHiddenAlready)
{
    FakeStore store;
    StoreLayout(store);
    grid.ApplyColumnState(&store);
    ASSERT_TRUE(grid.ShowColumn(1, true));
    EXPECT_EQ(grid.GetColumnWidth(1), 70);
}

TEST_F(ColumnState, AStateThatNamesNoColumnChangesNothing)
{
    FakeStore empty;
    empty.values[L"ColumnCount"] = 0;
    FakeStore unknown;
    unknown.values[L"ColumnCount"] = 2;
    unknown.values[L"ColumnData_0"] = 7;
    unknown.values[L"ColumnData_1"] = 9;
    for (FakeStore* pStore : {&empty, &unknown}) {
        grid.ApplyColumnState(pStore);
        EXPECT_EQ(Order(), (std::vector<int>{1, 0, 2}));
        EXPECT_EQ(grid.GetColumnWidth(0), 80);
        EXPECT_EQ(grid.GetColumnWidth(1), 0);
        EXPECT_EQ(grid.GetColumnWidth(2), 60);
        EXPECT_TRUE(grid.IsColumnVisible(0));
        EXPECT_FALSE(grid.IsColumnVisible(1));
    }
}

TEST_F(ColumnState, ALockedColumnTheStateDoesNotNameStaysVisibleAfterTheHiddenOnes)
{
    grid.GetColumnTrait(1)->AlwaysVisible = true;
    ASSERT_TRUE(grid.ShowColumn(1, true));
    FakeStore store;
    store.values[L"ColumnCount"] = 1;
    store.values[L"ColumnData_0"] = 2;
    store.values[L"ColumnWidth_0"] = 90;
    grid.ApplyColumnState(&store);
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(grid.IsColumnVisible(0));
    EXPECT_TRUE(grid.IsColumnVisible(1));
    EXPECT_EQ(grid.GetColumnWidth(1), 70);
    EXPECT_EQ(grid.GetColumnWidth(2), 90);
}

TEST_F(ColumnState, LoadingMakesTheCurrentLayoutTheDefaultAndLetsGoOfAnOwnedStore)
{
    std::vector<std::string> log;
    bool firstDeleted = false;
    auto* pFirst = new FakeStore(&log, &firstDeleted);
    pFirst->values[L"ColumnCount"] = 1;
    pFirst->values[L"ColumnData_0"] = 2;
    pFirst->values[L"ColumnWidth_0"] = 100;
    grid.LoadColumnState(pFirst, true);
    ASSERT_NE(pFirst->defaultState, nullptr);
    EXPECT_EQ(pFirst->defaultState->values[L"ColumnCount"], 2);
    EXPECT_EQ(pFirst->defaultState->values[L"ColumnData_1"], 2);
    EXPECT_EQ(log[0], "has default");
    EXPECT_EQ(log[1], "default");
    EXPECT_EQ(log[2], "remove");
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(grid.GetColumnWidth(2), 100);

    // Handing back the store held does not delete it.
    grid.LoadColumnState(pFirst, true);
    EXPECT_FALSE(firstDeleted);

    FakeStore second;
    second.hasDefault = true;
    grid.LoadColumnState(&second, false);
    EXPECT_TRUE(firstDeleted);
    EXPECT_EQ(second.defaultState, nullptr) << "a store with a default state keeps it";
}

TEST_F(ColumnState, WithoutAStoreResetAndProfilesDoNothing)
{
    const std::vector<int> before = Order();
    grid.ResetColumns();
    grid.SwitchColumnProfile(L"P2");
    EXPECT_EQ(Order(), before);
    CString text = L"untouched";
    EXPECT_FALSE(grid.GetResetColumnsText(text));
    CStringArray profiles;
    profiles.Add(L"kept");
    CString title = L"kept title";
    EXPECT_EQ(grid.GetProfilesMenuText(profiles, title), L"");
    EXPECT_EQ(profiles.GetSize(), 1);
    EXPECT_EQ(title, L"kept title");
}

TEST_F(ColumnState, SwitchingProfilesSavesSelectsAndAppliesInThatOrder)
{
    std::vector<std::string> log;
    FakeStore store(&log);
    store.hasDefault = true;
    store.profiles = {L"P1", L"P2"};
    store.activeProfile = L"P1";
    grid.setStateStore(&store, false);

    CString text;
    EXPECT_TRUE(grid.GetResetColumnsText(text));
    EXPECT_EQ(text, L"Reset columns");
    CStringArray profiles;
    CString title;
    EXPECT_EQ(grid.GetProfilesMenuText(profiles, title), L"P1");
    EXPECT_EQ(title, L"Column Profiles");
    EXPECT_EQ(profiles.GetSize(), 2);

    log.clear();
    grid.SwitchColumnProfile(L"P2");
    const auto select = std::find(log.begin(), log.end(), "select P2");
    ASSERT_NE(select, log.end());
    EXPECT_EQ(log.front(), "remove");
    EXPECT_EQ(*(select - 1), "set ColumnCount=2");
    EXPECT_EQ(*(select + 1), "get ColumnCount");
    EXPECT_EQ(store.activeProfile, L"P2");
}

TEST_F(ColumnState, ResetAppliesTheDefaultState)
{
    FakeStore store;
    store.hasDefault = true;
    store.defaultState = new FakeStore;
    store.defaultState->values = {{L"ColumnCount", 3},   {L"ColumnData_0", 2},   {L"ColumnWidth_0", 40},
                                  {L"ColumnData_1", 1},  {L"ColumnWidth_1", 41}, {L"ColumnData_2", 0},
                                  {L"ColumnWidth_2", 42}};
    grid.setStateStore(&store, false);
    grid.ResetColumns();
    EXPECT_EQ(Order(), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(grid.GetColumnWidth(1), 41);
    EXPECT_TRUE(grid.IsColumnVisible(1));
}

TEST_F(ColumnState, AnAttachedStoreIsSavedOnFocusLossShowHideAndBeforeAWidthChange)
{
    FakeStore store;
    grid.setStateStore(&store, false);
    grid.SetFocus();
    store.values.clear();
    host.GetDlgItem(kListId + 1)->SetFocus();
    EXPECT_EQ(store.values[L"ColumnCount"], 2);

    store.values.clear();
    ASSERT_TRUE(grid.ShowColumn(1, true));
    EXPECT_EQ(store.values[L"ColumnCount"], 3);

    // Saved just before the list takes the new width.
    store.values.clear();
    grid.SetColumnWidth(2, 123);
    EXPECT_EQ(store.values[L"ColumnWidth_2"], 60);
    EXPECT_EQ(grid.GetColumnWidth(2), 123);
}

// The list's own focus handling still runs when the grid loses the focus (it tells its parent).
TEST_F(ColumnState, TheListStillLearnsThatItLostTheFocus)
{
    grid.SetFocus();
    const int before = host.killFocusNotes;
    host.GetDlgItem(kListId + 1)->SetFocus();
    EXPECT_EQ(host.killFocusNotes, before + 1);
}

}  // namespace
}  // namespace navtest
