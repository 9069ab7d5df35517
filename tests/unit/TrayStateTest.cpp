#include <gtest/gtest.h>

#include <functional>

#include "ui/core/TrayState.h"

using tarnelix::ClassifyIconEvent;
using tarnelix::PrepareMenuState;
using tarnelix::TrayIconAction;
using tarnelix::TrayIconState;
using tarnelix::TrayMenuState;

namespace {

// Stands in for Shell_NotifyIcon: answers as told and counts the calls.
struct FakeShell {
    bool succeeds = true;
    int calls = 0;
    unsigned flagsSeen = 0;
    const TrayIconState* state = nullptr;

    std::function<bool()> Call()
    {
        return [this] {
            ++calls;
            if (state != nullptr) {
                flagsSeen = state->RecordFlags();
            }
            return succeeds;
        };
    }
};

struct TrayFixture : ::testing::Test {
    TrayIconState tray;
    FakeShell shell;

    void SetUp() override { shell.state = &tray; }
    bool CreateShown() { return tray.Create(5, false, true, shell.Call()); }
};

}  // namespace

using TrayCreate = TrayFixture;

TEST_F(TrayCreate, SuccessfulAddShowsTheIconWithMessageIconAndTipFlags)
{
    EXPECT_FALSE(tray.TraySupported());
    EXPECT_TRUE(CreateShown());
    EXPECT_TRUE(tray.TraySupported());
    EXPECT_FALSE(tray.IconHidden());
    EXPECT_FALSE(tray.IconRemoved());
    EXPECT_FALSE(tray.ReAddPending());
    EXPECT_EQ(tray.CreationFlags(), 7u);  // message | icon | tip
    EXPECT_EQ(shell.flagsSeen, 7u);
}

TEST_F(TrayCreate, FailedAddLeavesHiddenAndReAddPending)
{
    shell.succeeds = false;
    EXPECT_FALSE(CreateShown());
    EXPECT_TRUE(tray.IconHidden());
    EXPECT_TRUE(tray.IconRemoved());
    EXPECT_TRUE(tray.ReAddPending());
}

TEST(TrayCreateShell, NoNotificationAreaFailsWithoutACallAndHiddenIsAddedOnlyOnANewShell)
{
    FakeShell shell;
    TrayIconState none;
    EXPECT_FALSE(none.Create(3, false, false, shell.Call()));
    EXPECT_FALSE(none.TraySupported());
    TrayIconState oldShell;
    EXPECT_TRUE(oldShell.Create(4, true, false, shell.Call()));
    EXPECT_TRUE(oldShell.IconHidden());
    EXPECT_EQ(shell.calls, 0);
    TrayIconState newShell;
    EXPECT_TRUE(newShell.Create(5, true, true, shell.Call()));
    EXPECT_EQ(shell.calls, 1);
    EXPECT_FALSE(newShell.IconHidden());
}

using TrayReAdd = TrayFixture;

TEST_F(TrayReAdd, TaskbarCreatedOrWorkAreaChangeAddsTheShownIconAgain)
{
    CreateShown();
    tray.OnTaskbarCreated(shell.Call());
    EXPECT_EQ(shell.calls, 2);
    tray.OnWorkAreaChanged(shell.Call());
    EXPECT_EQ(shell.calls, 3);
    EXPECT_FALSE(tray.ReAddPending());
    EXPECT_FALSE(tray.IconHidden());
}

TEST_F(TrayReAdd, TaskbarCreatedAfterAFailedAddIsNotTried)
{
    shell.succeeds = false;
    CreateShown();
    shell.succeeds = true;
    tray.OnTaskbarCreated(shell.Call());
    EXPECT_EQ(shell.calls, 1);
    EXPECT_TRUE(tray.ReAddPending());
    EXPECT_TRUE(tray.IconHidden());
}

TEST_F(TrayReAdd, FailedReAddHidesTheIconAndStopsLaterTries)
{
    CreateShown();
    shell.succeeds = false;
    tray.OnTaskbarCreated(shell.Call());
    EXPECT_TRUE(tray.IconHidden());
    EXPECT_TRUE(tray.ReAddPending());
    shell.succeeds = true;
    tray.OnWorkAreaChanged(shell.Call());
    EXPECT_EQ(shell.calls, 2);
    EXPECT_FALSE(tray.ReAddPending());  // not pending while hidden
}

TEST_F(TrayReAdd, FailedDeleteKeepsTheIconAndReAddRestoresTheFlagsItCleared)
{
    CreateShown();
    shell.succeeds = false;
    EXPECT_FALSE(tray.Delete(shell.Call()));
    EXPECT_FALSE(tray.IconRemoved());
    EXPECT_EQ(shell.flagsSeen, 0u);
    shell.succeeds = true;
    tray.OnTaskbarCreated(shell.Call());
    EXPECT_EQ(shell.flagsSeen, 7u);
}

using TrayDelete = TrayFixture;

TEST_F(TrayDelete, RemovesTheShownIcon)
{
    CreateShown();
    EXPECT_TRUE(tray.Delete(shell.Call()));
    EXPECT_TRUE(tray.IconRemoved());
    EXPECT_TRUE(tray.IconHidden());
    EXPECT_EQ(shell.calls, 2);
}

TEST_F(TrayDelete, NothingToRemoveIsSuccessWithoutACall)
{
    EXPECT_TRUE(tray.Delete(shell.Call()));  // never created
    EXPECT_EQ(shell.calls, 0);
    shell.succeeds = false;
    CreateShown();  // the add failed: removed already
    EXPECT_TRUE(tray.Delete(shell.Call()));
    EXPECT_EQ(shell.calls, 1);
    EXPECT_FALSE(tray.ReAddPending());
}

TEST(TrayIconEvents, RightReleaseOpensTheMenuDoubleClickRunsTheDefaultOthersAreIgnored)
{
    EXPECT_EQ(ClassifyIconEvent(142, 0x0205), TrayIconAction::OpenMenu);
    EXPECT_EQ(ClassifyIconEvent(142, 0x0203), TrayIconAction::RunDefaultCommand);
    EXPECT_EQ(ClassifyIconEvent(142, 0x0202), TrayIconAction::Ignore);  // left button up
    EXPECT_EQ(ClassifyIconEvent(143, 0x0205), TrayIconAction::Ignore);
}

TEST(TrayMenu, AnyNonZeroDisableValueChecksAndVeilmarkIsGrayedWithoutTheAddOn)
{
    EXPECT_TRUE(PrepareMenuState(1, false).disableChecked);
    EXPECT_TRUE(PrepareMenuState(2, true).disableChecked);
    EXPECT_FALSE(PrepareMenuState(0, true).disableChecked);
    EXPECT_FALSE(PrepareMenuState(1, false).veilmarkEnabled);
    EXPECT_TRUE(PrepareMenuState(0, true).veilmarkEnabled);
}
