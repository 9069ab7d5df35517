// Wendle.dll: the Win32 side of the hook library. The system maps this DLL
// into every process that creates windows or takes input while the hooks are
// installed, so the hook paths allocate nothing, throw nothing, take no locks
// and read window facts into fixed stack buffers. The decisions are in
// UserActionRule.h and HookLifecycle.h; this file translates and acts.
//
// Built without the C runtime (see CMakeLists.txt): DllMain is the entry
// point, so there must be no object that needs a static constructor. Every
// global below is constant-initialised.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#define WENDLE_BUILDING_DLL
#include "hook/HookLifecycle.h"
#include "hook/UserActionRule.h"
#include "hook/Wendle.h"

namespace {

constexpr UINT kTimerDelayMs = 100;
constexpr int kClassNameSize = 256;
constexpr int kTitleSize = 512;
constexpr int kPathSize = 1024;
const char kMainWindowClass[] = "#32770";
const char kMainWindowTitle[] = "Tarnelix 3.0";

// One copy for every process that maps the DLL. The "shared" attribute makes
// GCC emit the section with the PE shared flag (checked with objdump -h), so
// no /SECTION linker switch is needed as with MSVC.
struct SharedSection {
  std::atomic<HWND> mainWindowHandle{nullptr};
  SharedState rule;
};
SharedSection gShared __attribute__((section(".shared"), shared));

// Per process.
ProcessState gProcess;
HookLifecycle gHooks;
HINSTANCE gInstance = nullptr;
UINT gNewWindowMessage = 0;
UINT gKillPopupMessage = 0;

// The timers go on windows of the host program, which may run timers of its
// own on them: a timer set with an id already in use replaces the other one.
// The addresses of these bytes inside this library are ids no program picks.
enum TimerKind { kReportTimer, kKillTimer, kKillParentTimer, kTimerKinds };
char gTimerIds[kTimerKinds];

UINT_PTR TimerId(TimerKind kind) { return reinterpret_cast<UINT_PTR>(&gTimerIds[kind]); }

uint32_t Now() { return GetTickCount(); }

// Tarnelix may have ended (and started again) while this DLL stayed mapped in
// other processes: a stored handle that is no longer a window is looked up
// again instead of posting into the void.
HWND CurrentMainWindow() {
  HWND mainWindow = gShared.mainWindowHandle.load(std::memory_order_relaxed);
  if (mainWindow == nullptr || !IsWindow(mainWindow)) {
    mainWindow = FindWindowA(kMainWindowClass, kMainWindowTitle);
    gShared.mainWindowHandle.store(mainWindow, std::memory_order_relaxed);
  }
  return mainWindow;
}

// The real parent. GetParent gives a popup's owner, which may belong to
// another thread; the desktop counts as no parent.
HWND RealParent(HWND window) {
  HWND parent = GetAncestor(window, GA_PARENT);
  return parent == GetDesktopWindow() ? nullptr : parent;
}

// Runs in the thread that owns `window`, 100 ms after the timer was set. A
// window destroyed in the meantime takes its timers with it.
void CALLBACK TimerProc(HWND window, UINT, UINT_PTR timerId, DWORD) {
  KillTimer(window, timerId);
  const bool report = timerId == TimerId(kReportTimer);
  HWND subject = timerId == TimerId(kKillParentTimer) ? RealParent(window) : window;
  HWND mainWindow = CurrentMainWindow();
  if (subject != nullptr && mainWindow != nullptr) {
    PostMessageA(mainWindow, report ? gNewWindowMessage : gKillPopupMessage, 0, reinterpret_cast<LPARAM>(subject));
  }
}

bool StartTimer(HWND window, TimerKind kind) {
  return SetTimer(window, TimerId(kind), kTimerDelayMs, TimerProc) != 0;
}

// The text the system keeps for the window, read without sending it a
// message: the hook never waits for another thread, and never runs a window
// procedure that has not even seen WM_CREATE yet. The rule compares ASCII
// texts; any other character becomes '?'. The last byte stays zero.
void ReadTitle(HWND window, char (&title)[kTitleSize]) {
  WCHAR wide[kTitleSize] = {};
  InternalGetWindowText(window, wide, kTitleSize - 1);
  for (int i = 0; i < kTitleSize - 1 && wide[i] != 0; ++i) {
    title[i] = wide[i] < 0x80 ? static_cast<char>(wide[i]) : '?';
  }
}

// Only what the frame test of this kind looks at is read, the class first.
void HandleWindowCreated(HWND window) {
  char className[kClassNameSize] = {};
  char title[kTitleSize] = {};
  char parentTitle[kTitleSize] = {};
  const FrameFactsNeeded needed = FrameFactsFor(gProcess.kind);
  WindowFacts facts;
  HWND parent = nullptr;
  if (needed.windowFacts) {
    GetClassNameA(window, className, kClassNameSize - 1);
    facts.className = className;
    facts.style = static_cast<uint32_t>(GetWindowLongPtrA(window, GWL_STYLE));
    parent = RealParent(window);
    facts.hasParent = parent != nullptr;
  }
  if (needed.title) {
    ReadTitle(window, title);
    facts.title = title;
  }
  if (parent != nullptr && NeedsParentTitle(gProcess.kind, className)) {
    ReadTitle(parent, parentTitle);
    facts.parentTitle = parentTitle;
  }
  const CreateDecision decision = OnWindowCreated(gProcess, gShared.rule, facts, Now());
  if (decision.startReportTimer) {
    StartTimer(window, kReportTimer);
  }
  if (decision.killTimer == KillTimerTarget::Window) {
    StartTimer(window, kKillTimer);
  } else if (decision.killTimer == KillTimerTarget::Parent && !StartTimer(parent, kKillTimer)) {
    // A timer goes only on a window of the calling thread: when the parent
    // belongs to another one, the frame carries the timer and names its
    // parent when it fires.
    StartTimer(window, kKillParentTimer);
  }
}

// The first argument of CallNextHookEx is ignored since Windows NT; the hook
// handles exist only in the main program's process anyway.
LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && WatchesWindows(gProcess.kind)) {
    const CWPSTRUCT* record = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (record->message == WM_INITMENUPOPUP) {
      OnMenuOpened(gProcess, gShared.rule);
    } else if (record->message == WM_CREATE) {
      HandleWindowCreated(record->hwnd);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0) {
    const bool keyUp = (static_cast<uint32_t>(lParam) & 0x80000000u) != 0;
    OnKeyEvent(gProcess, gShared.rule, static_cast<uint32_t>(wParam), keyUp, Now());
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void HandleMouse(WPARAM message, const MOUSEHOOKSTRUCT* record) {
  ClickFacts click;
  if (message == WM_RBUTTONUP) {
    OnMouseEvent(gProcess, gShared.rule, MouseButtonEvent::RightUp, click, Now());
    return;
  }
  if (message != WM_LBUTTONUP && message != WM_LBUTTONDBLCLK) {
    return;
  }
  char className[kClassNameSize] = {};
  if (record->hwnd != nullptr) {
    GetClassNameA(record->hwnd, className, kClassNameSize - 1);
    click.hasParent = RealParent(record->hwnd) != nullptr;
  }
  click.className = className;
  OnMouseEvent(gProcess, gShared.rule, MouseButtonEvent::LeftUp, click, Now());
}

// Called for every mouse message of every thread: the move messages leave
// at the first comparison.
LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0) {
    HandleMouse(wParam, reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ShowLastError() {
  const DWORD error = GetLastError();
  char text[kTitleSize] = {};
  const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  if (FormatMessageA(flags, nullptr, error, LANG_USER_DEFAULT, text, kTitleSize - 1, nullptr) == 0) {
    // No text in the user's language: let the system pick one.
    FormatMessageA(flags, nullptr, error, 0, text, kTitleSize - 1, nullptr);
  }
  MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONINFORMATION);
}

struct Win32HookApi {
  uintptr_t Install(HookType type) {
    HHOOK hook = nullptr;
    switch (type) {
      case HookType::CallWindowProcedure:
        hook = SetWindowsHookExA(WH_CALLWNDPROC, CallWndProc, gInstance, 0);
        break;
      case HookType::Mouse:
        hook = SetWindowsHookExA(WH_MOUSE, MouseProc, gInstance, 0);
        break;
      case HookType::Keyboard:
        hook = SetWindowsHookExA(WH_KEYBOARD, KeyboardProc, gInstance, 0);
        break;
    }
    return reinterpret_cast<uintptr_t>(hook);
  }
  bool Remove(uintptr_t handle) { return UnhookWindowsHookEx(reinterpret_cast<HHOOK>(handle)) != FALSE; }
  void ReportFailure() { ShowLastError(); }
};

void OnProcessAttach(HINSTANCE instance) {
  gInstance = instance;
  // Nothing to do per thread; spare every thread start in every hooked
  // process the call into this DLL.
  DisableThreadLibraryCalls(instance);
  gNewWindowMessage = RegisterWindowMessageA("WM_TARNELIX_NEW_WINDOW_CREATED");
  gKillPopupMessage = RegisterWindowMessageA("WM_TARNELIX_KILL_POPUP_WINDOW");
  if (gShared.mainWindowHandle.load(std::memory_order_relaxed) == nullptr) {
    gShared.mainWindowHandle.store(FindWindowA(kMainWindowClass, kMainWindowTitle), std::memory_order_relaxed);
  }
  // Windows XP leaves a truncated path unterminated: keep the last byte zero.
  char path[kPathSize] = {};
  GetModuleFileNameA(nullptr, path, kPathSize - 1);
  OnLibraryLoaded(gProcess, gShared.rule, path, Now());
  if (WatchesWindows(gProcess.kind)) {
    // The timers run TimerProc, which lives here. When Tarnelix ends, the
    // system unloads this library from the host while a timer may still be
    // pending, which would then fire into unmapped code. Pinned, the library
    // stays until the host ends. Done here, under the loader lock that
    // DllMain holds anyway, so that no hook path takes it.
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&TimerProc), &self);
  }
}

}  // namespace

WENDLE_API void Initialise(void) {
  Win32HookApi api;
  InstallHooks(gHooks, api);
}

WENDLE_API void Shutdown(void) {
  Win32HookApi api;
  RemoveHooks(gHooks, api);
}

// On 64-bit Windows the shell is a 64-bit program, which maps only the
// 64-bit library: the 32-bit host sees its clicks and Enter from outside and
// reports them here, so that a 32-bit browser started from the shell opens
// its first window as it would with the shell hooked by this library.
WENDLE_API void NoteShellAction(void) {
  ProcessState shell;
  shell.kind = ProcessKind::Shell;
  OnKeyEvent(shell, gShared.rule, kVkReturn, false, Now());
}

// The entry point itself (linked with -nostartfiles): there is no C runtime
// start-up code to call it for us.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    OnProcessAttach(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    Shutdown();
  }
  return TRUE;
}

// With -nostdlib nothing provides these, yet GCC may emit calls to them for
// clearing or copying buffers. Written in assembly so that the compiler
// cannot turn them back into calls to themselves.
extern "C" void* memset(void* destination, int value, size_t count) {
  void* cursor = destination;
  __asm__ volatile("rep stosb" : "+D"(cursor), "+c"(count) : "a"(value) : "memory");
  return destination;
}

extern "C" void* memcpy(void* destination, const void* source, size_t count) {
  void* cursor = destination;
  __asm__ volatile("rep movsb" : "+D"(cursor), "+S"(source), "+c"(count) : : "memory");
  return destination;
}
