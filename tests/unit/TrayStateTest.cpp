#include <gtest/gtest.h>

#include "ui/core/TrayState.h"

using namespace tarnelix;

namespace {

// Behaves like the notification area: it holds at most our one icon,
// refuses to add it twice, modifies and deletes only an icon it holds, and
// while the taskbar is down every call fails.
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

TEST_F(Tray, CreateAddsTheIconWithMessageIconAndTipAFailedAddLeavesItHiddenAndPending)
{
    EXPECT_TRUE(tray.Create(5, false, true, shell));
    EXPECT_FALSE(tray.IconHidden() || tray.IconRemoved() || tray.ReAddPending());
    EXPECT_EQ(shell.lastFlags, 7u);  // message | icon | tip

    FakeShell down;
    down.down = true;
    TrayIconState failed;
    EXPECT_FALSE(failed.Create(5, false, true, down));
    EXPECT_TRUE(failed.IconHidden() && failed.IconRemoved() && failed.ReAddPending());
    failed.OnTaskbarCreated(shell);  // a hidden icon is not tried again
    EXPECT_TRUE(failed.IconHidden());

    TrayIconState none, oldShell, newShell;
    EXPECT_FALSE(none.Create(3, false, false, shell));  // no notification area below version 4
    EXPECT_TRUE(oldShell.Create(4, true, false, down));  // hidden: added on a new shell only
    EXPECT_TRUE(oldShell.IconHidden());
    EXPECT_EQ(down.calls, 1);
    FakeShell fresh;
    EXPECT_TRUE(newShell.Create(5, true, true, fresh));
    EXPECT_FALSE(newShell.IconHidden());
}

// The shell refuses the second add of an icon it still holds: the icon is
// shown all the same, so the next taskbar restart brings it back.
TEST_F(Tray, WorkAreaChangeKeepsTheHeldIconShownAndATaskbarRestartAddsItAgain)
{
    tray.Create(5, false, true, shell);
    tray.OnWorkAreaChanged(shell);
    EXPECT_FALSE(tray.IconHidden() || tray.ReAddPending());
    shell.holdsIcon = false;  // the taskbar restarts and has forgotten every icon
    tray.OnTaskbarCreated(shell);
    EXPECT_TRUE(shell.holdsIcon);
    EXPECT_FALSE(tray.IconHidden() || tray.ReAddPending());
}

TEST_F(Tray, AReAddWhileTheTaskbarIsDownHidesTheIconAndStopsLaterTries)
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
}

TEST_F(Tray, DeleteClearsTheRecordFlagsAndAFailedDeleteKeepsTheIcon)
{
    EXPECT_TRUE(tray.Delete(shell));  // never created: nothing to remove, no call
    EXPECT_EQ(shell.calls, 0);
    tray.Create(5, false, true, shell);
    shell.down = true;
    EXPECT_FALSE(tray.Delete(shell));
    EXPECT_EQ(shell.lastFlags, 0u);
    shell.down = false;
    EXPECT_TRUE(tray.Delete(shell));
    EXPECT_TRUE(tray.IconRemoved() && tray.IconHidden());
    tray.OnTaskbarCreated(shell);  // a removed icon stays removed
    EXPECT_FALSE(shell.holdsIcon);
}
