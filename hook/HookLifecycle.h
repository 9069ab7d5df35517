// Installing and removing the three system-wide hooks, kept apart from the
// Win32 calls so the order, the partial failures and the repeat calls can be
// tested natively. `Api` supplies:
//   uintptr_t Install(HookType)   - a hook handle, 0 on failure
//   bool Remove(uintptr_t handle) - true when the hook was removed
//   void ReportFailure()          - tell the user (the last error is still set)
#pragma once

#include <cstdint>

enum class HookType : uint8_t { CallWindowProcedure, Mouse, Keyboard };

inline constexpr int kHookCount = 3;
inline constexpr HookType kHookOrder[kHookCount] = {HookType::CallWindowProcedure, HookType::Mouse,
                                                    HookType::Keyboard};

// Meaningful only in the process that called Initialise (the main program).
struct HookLifecycle {
  uintptr_t handles[kHookCount] = {0, 0, 0};
  bool installed = false;
};

// Each hook only after the one before it is in place. A hook left over from
// an earlier, partly failed call is kept rather than installed a second time,
// which would lose its handle and leave it impossible to remove.
template <class Api>
void InstallHooks(HookLifecycle& hooks, Api& api) {
  if (hooks.installed) {
    return;
  }
  for (int i = 0; i < kHookCount; ++i) {
    if (hooks.handles[i] == 0) {
      hooks.handles[i] = api.Install(kHookOrder[i]);
    }
    if (hooks.handles[i] == 0) {
      api.ReportFailure();
      return;
    }
  }
  hooks.installed = true;
}

// Runs again, harmlessly, when the library unloads from the main program.
template <class Api>
void RemoveHooks(HookLifecycle& hooks, Api& api) {
  if (!hooks.installed) {
    return;
  }
  for (uintptr_t& handle : hooks.handles) {
    if (handle != 0 && api.Remove(handle)) {
      handle = 0;
    }
  }
  hooks.installed = false;
}
