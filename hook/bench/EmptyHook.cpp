// EmptyHook.dll: the baseline for measuring what Wendle's hooks cost. It
// installs the same three system-wide hooks as Wendle.dll, whose procedures
// only pass the event on, and is built with the same no-CRT flags, so a
// benchmark that compares the two sees the cost of Wendle's own work.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

HINSTANCE gInstance = nullptr;
HHOOK gHooks[3] = {nullptr, nullptr, nullptr};

LRESULT CALLBACK PassOn(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

extern "C" __declspec(dllexport) void Initialise(void) {
  const int types[3] = {WH_CALLWNDPROC, WH_MOUSE, WH_KEYBOARD};
  for (int i = 0; i < 3; ++i) {
    if (gHooks[i] == nullptr) {
      gHooks[i] = SetWindowsHookExA(types[i], PassOn, gInstance, 0);
    }
    if (gHooks[i] == nullptr) {
      return;
    }
  }
}

extern "C" __declspec(dllexport) void Shutdown(void) {
  for (HHOOK& hook : gHooks) {
    if (hook != nullptr && UnhookWindowsHookEx(hook)) {
      hook = nullptr;
    }
  }
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    gInstance = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    Shutdown();
  }
  return TRUE;
}
