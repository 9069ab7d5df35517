#include <gtest/gtest.h>

#include "ui/core/TrayState.h"

using namespace tarnelix;

namespace {

// The notification area: at most our one icon, no second add, modify and
// delete only of a held icon; every call fails while the taskbar is down.
struct FakeShell : ITrayShell {
    bool holdsIcon = false;
    bool down = false;
    int calls = 0;
    unsigned lastFlags = 99;

    bool Call(unsigned flags, bool ok)
    {
        ++calls;
        lastFlags = flags;
        return ok && !down;
    }
    bool Add(unsigned flags) override
    {
        const bool ok = Call(flags, !holdsIcon);
        holdsIcon = holdsIcon || ok;
        return ok;
    }
    bool Modify(unsigned flags) override { return Call(flags, holdsIcon); }
    bool Delete(unsigned flags) override
    {
        const bool ok = Call(flags, holdsIcon);
        holdsIcon = holdsIcon && !ok;
        return ok;
    }
};

struct Tray : ::testing::Test {
    TrayIconState tray;
    FakeShell shell;
};

}  // namespace

TEST_F(Tray, CreateDependsOnTheShellVersionAndAFailedAddLeavesTheIconHiddenForGood)
{
    EXPECT_TRUE(tray.Create(5, false, true, shell));
    EXPECT_FALSE(tray.IconHidden() || tray.IconRemoved() || tray.ReAddPending());
    EXPECT_EQ(shell.lastFlags, 7u);  // message | icon | tip

    FakeShell down;
    down.down = true;
    TrayIconState failed, none, oldShell;
    EXPECT_FALSE(failed.Create(5, false, true, down));
    EXPECT_TRUE(failed.IconHidden() && failed.IconRemoved() && failed.ReAddPending());
    failed.OnTaskbarCreated(shell);  // a hidden icon is not tried again
    EXPECT_TRUE(failed.IconHidden());
    EXPECT_FALSE(none.Create(3, false, false, shell));  // no notification area below version 4
    EXPECT_TRUE(oldShell.Create(4, true, false, down));  // hidden: added on a new shell only
    EXPECT_EQ(down.calls, 1);
    TrayIconState newShell;
    FakeShell fresh;
    EXPECT_TRUE(newShell.Create(5, true, true, fresh) && !newShell.IconHidden());
}

TEST_F(Tray, AReAddWhileTheTaskbarIsDownHidesTheIconAndAFailedDeleteKeepsIt)
{
    tray.Create(5, false, true, shell);
    shell.holdsIcon = false;
    shell.down = true;
    tray.OnTaskbarCreated(shell);
    EXPECT_TRUE(tray.IconHidden() && tray.ReAddPending());
    shell.down = false;
    const int calls = shell.calls;
    tray.OnWorkAreaChanged(shell);
    tray.OnTaskbarCreated(shell);
    EXPECT_EQ(shell.calls, calls);

    TrayIconState never;
    EXPECT_TRUE(never.Delete(shell));  // nothing to remove, no call
    EXPECT_EQ(shell.calls, calls);
    TrayIconState shown;
    shell.holdsIcon = false;
    shown.Create(5, false, true, shell);
    shell.down = true;
    EXPECT_FALSE(shown.Delete(shell));
    EXPECT_EQ(shell.lastFlags, 0u);
    shell.down = false;
    EXPECT_TRUE(shown.Delete(shell));
    EXPECT_TRUE(shown.IconRemoved() && shown.IconHidden());
    shown.OnTaskbarCreated(shell);  // a removed icon stays removed
    EXPECT_FALSE(shell.holdsIcon);
}
