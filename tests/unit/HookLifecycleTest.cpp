// Installing and removing the three hooks: order, partial failure, repeats.
#include <gtest/gtest.h>

#include <vector>

#include "hook/HookLifecycle.h"

namespace {

// Behaves like SetWindowsHookExA / UnhookWindowsHookEx: hands out handles
// 1, 2, 3... and fails the hook types it is told to.
struct FakeHookApi {
  std::vector<HookType> installed;
  std::vector<uintptr_t> removed;
  int failures = 0;
  bool failType[kHookCount] = {false, false, false};
  bool removeFails = false;

  uintptr_t Install(HookType type) {
    if (failType[static_cast<int>(type)]) {
      return 0;
    }
    installed.push_back(type);
    return installed.size();
  }
  bool Remove(uintptr_t handle) {
    removed.push_back(handle);
    return !removeFails;
  }
  void ReportFailure() { ++failures; }
};

TEST(HookLifecycle, InstallsWindowMouseKeyboardOnceOnly) {
  HookLifecycle hooks;
  FakeHookApi api;
  InstallHooks(hooks, api);
  InstallHooks(hooks, api);
  EXPECT_EQ((std::vector<HookType>{HookType::CallWindowProcedure, HookType::Mouse, HookType::Keyboard}),
            api.installed);
  EXPECT_TRUE(hooks.installed);
  EXPECT_EQ(0, api.failures);
}

TEST(HookLifecycle, FailureStopsTheChainAndARetryKeepsWhatIsInPlace) {
  HookLifecycle hooks;
  FakeHookApi api;
  api.failType[static_cast<int>(HookType::Mouse)] = true;
  InstallHooks(hooks, api);
  EXPECT_EQ(std::vector<HookType>{HookType::CallWindowProcedure}, api.installed);
  EXPECT_EQ(1, api.failures);
  EXPECT_FALSE(hooks.installed);

  api.failType[static_cast<int>(HookType::Mouse)] = false;
  InstallHooks(hooks, api);
  // Window hook 1 from the first call is kept; mouse 2 and keyboard 3 added.
  EXPECT_EQ(3u, api.installed.size());
  EXPECT_EQ(1u, hooks.handles[0]);
  EXPECT_EQ(3u, hooks.handles[2]);
  EXPECT_TRUE(hooks.installed);
}

TEST(HookLifecycle, ShutdownOnlyAfterInitialiseAndOnlyOnce) {
  HookLifecycle hooks;
  FakeHookApi api;
  RemoveHooks(hooks, api);
  EXPECT_TRUE(api.removed.empty());
  InstallHooks(hooks, api);
  RemoveHooks(hooks, api);
  RemoveHooks(hooks, api);  // again at DLL unload
  EXPECT_EQ((std::vector<uintptr_t>{1, 2, 3}), api.removed);
  EXPECT_FALSE(hooks.installed);
}

TEST(HookLifecycle, HandleWhoseRemovalFailedIsKept) {
  HookLifecycle hooks;
  FakeHookApi api;
  InstallHooks(hooks, api);
  api.removeFails = true;
  RemoveHooks(hooks, api);
  EXPECT_FALSE(hooks.installed);
  EXPECT_EQ(2u, hooks.handles[1]);
}

}  // namespace
