// The user-action rule of the hook library: which of the new windows of a
// watched program (ProcessKind.h) are browser or messenger frames, and whether a frame was
// opened by the user (a qualifying key press or click at most 1500 ms earlier)
// or by a script, in which case it gets the kill timer.
//
// Portable on purpose: no Windows headers, the tick count comes in as an
// argument, window facts come in as plain values. Wendle.cpp translates the
// hook records into these calls and acts on the answers. The header is
// self-contained (everything inline) so the DLL compiles it with its own
// no-CRT flags, and so the compiler can fold it into the hook procedures.
//
// The same code runs on the DLL's shared data section, which every process
// that maps the library sees as one copy. Hence every field is a relaxed
// atomic: std::atomic of one and four bytes is lock-free, has a constexpr
// constructor (no static initialiser runs; the section starts as zeros) and
// compiles to plain loads and stores on x86. The flags that are consumed by a
// frame are taken with exchange(), so one user action lets one frame through
// even when two processes create frames at the same moment.
#pragma once

#include <atomic>
#include <cstdint>

#include "hook/ProcessKind.h"

// One copy for the whole desktop (the DLL's shared section).
struct SharedState {
  // Internet Explorer and the shell.
  std::atomic<uint8_t> ieUserAction{0};
  std::atomic<uint8_t> ieSkipNext{0};
  std::atomic<uint8_t> ieMenuOpen{0};
  std::atomic<uint32_t> ieLastAction{0};
  // Netscape / Mozilla.
  std::atomic<uint8_t> nsUserAction{0};
  std::atomic<uint8_t> nsFirstWindow{0};
  std::atomic<uint8_t> nsRightClick{0};
  std::atomic<uint32_t> nsLastAction{0};
};

// One copy per process. Several threads of one process run the hooks at
// once, so the mutable fields are relaxed atomics as well; `kind` is written
// once at load, before any hook of this process can run.
struct ProcessState {
  ProcessKind kind = ProcessKind::NotWatched;
  std::atomic<uint8_t> imUserAction{0};  // AOL, AIM and ICQ Lite
  std::atomic<uint32_t> imLastAction{0};
  std::atomic<uint8_t> ctrlDown{0};
};

// What is known about a window when the frame test runs. Pointers are never
// null; an unread text is "". The parent is the real parent (a top-level
// window has none), never the owner.
struct WindowFacts {
  const char* className = "";
  uint32_t style = 0;
  const char* title = "";
  const char* parentTitle = "";
  bool hasParent = false;
};

// Which window facts the frame test of a kind looks at, so that the hook
// reads no title it does not need. The parent's title: NeedsParentTitle.
struct FrameFactsNeeded {
  bool windowFacts;  // class name, style and parent
  bool title;
};

enum class KillTimerTarget : uint8_t { None, Window, Parent };

struct CreateDecision {
  bool startReportTimer;
  KillTimerTarget killTimer;
};

enum class MouseButtonEvent : uint8_t { LeftUp, RightUp };  // LeftUp covers the double click

struct ClickFacts {
  const char* className = "";  // class of the window under the mouse
  bool hasParent = false;
};

inline constexpr uint32_t kUserActionWindowMs = 1500;
inline constexpr uint32_t kSystemMenuStyle = 0x00080000;  // WS_SYSMENU
inline constexpr uint32_t kVkReturn = 13;
inline constexpr uint32_t kVkControl = 17;
inline constexpr uint32_t kVkN = 78;
inline constexpr uint32_t kVkW = 87;

namespace hookrule_detail {

template <class T>
inline T Load(const std::atomic<T>& field) {
  return field.load(std::memory_order_relaxed);
}

template <class T>
inline void Store(std::atomic<T>& field, T value) {
  field.store(value, std::memory_order_relaxed);
}

inline void Set(std::atomic<uint8_t>& flag) { Store<uint8_t>(flag, 1); }
inline void Clear(std::atomic<uint8_t>& flag) { Store<uint8_t>(flag, 0); }
inline bool IsSet(const std::atomic<uint8_t>& flag) { return Load(flag) != 0; }
inline bool Take(std::atomic<uint8_t>& flag) {
  return flag.exchange(0, std::memory_order_relaxed) != 0;
}

// The tick counter wraps after 49.7 days; the unsigned difference stays right
// across the wrap (0x00000100 - 0xFFFFFF00 = 0x200 = 512 ms).
inline bool ActionTooOld(uint32_t now, uint32_t lastAction) {
  return static_cast<uint32_t>(now - lastAction) > kUserActionWindowMs;
}

inline void RecordAction(std::atomic<uint8_t>& userAction, std::atomic<uint32_t>& lastAction, uint32_t now) {
  Set(userAction);
  Store(lastAction, now);
}

// The common rule of every group: a frame is a popup unless a user action
// was recorded at most 1500 ms ago and not yet used by another frame.
inline bool FrameIsPopup(std::atomic<uint8_t>& userAction, const std::atomic<uint32_t>& lastAction, uint32_t now) {
  const bool acted = Take(userAction);
  return ActionTooOld(now, Load(lastAction)) || !acted;
}

}  // namespace hookrule_detail

inline FrameFactsNeeded FrameFactsFor(ProcessKind kind) {
  switch (kind) {
    case ProcessKind::InternetExplorer:
    case ProcessKind::Aol:
    case ProcessKind::Aim:
    case ProcessKind::Kazaa:
    case ProcessKind::IcqLite:
      return {true, false};
    case ProcessKind::NetscapeFamily:
      return {true, true};
    default:
      return {false, false};
  }
}

// ICQ Lite's frame test looks at the parent's title, which lives in another
// window, maybe of another thread: it is read only once the class matches.
inline bool NeedsParentTitle(ProcessKind kind, const char* className) {
  return kind == ProcessKind::IcqLite && hookrule_detail::EqualsIgnoringCase(className, "Shell Embedding");
}

// Class names compare without regard to case; "contains" tests are case-sensitive.
inline bool IsBrowserFrame(ProcessKind kind, const WindowFacts& window) {
  using namespace hookrule_detail;
  const bool systemMenu = (window.style & kSystemMenuStyle) != 0;
  const char* cls = window.className;
  switch (kind) {
    case ProcessKind::InternetExplorer:
      return systemMenu && (EqualsIgnoringCase(cls, "IEFrame") || EqualsIgnoringCase(cls, "CabinetWClass"));
    case ProcessKind::NetscapeFamily:
      return systemMenu && (EqualsIgnoringCase(cls, "MozillaWindowClass") || Contains(window.title, "Netscape", false));
    case ProcessKind::Aol:
      return EqualsIgnoringCase(cls, kAolFrameClasses[0]) || EqualsIgnoringCase(cls, kAolFrameClasses[1]);
    case ProcessKind::Aim:
      return EqualsIgnoringCase(cls, "_aim_MiniBrowserClass");
    case ProcessKind::Kazaa:
      return Contains(cls, "PI", false);
    case ProcessKind::IcqLite:
      return NeedsParentTitle(kind, cls) &&
             (Equals(window.parentTitle, "Initiating Message") || Equals(window.parentTitle, "ICQ Now!"));
    default:
      return false;
  }
}

// Load-time steps of one process. The stamps are shared for the browser
// groups, so every load anywhere restarts their 1500 ms window.
inline void OnLibraryLoaded(ProcessState& process, SharedState& shared, const char* programPath, uint32_t now) {
  using namespace hookrule_detail;
  process.kind = ProcessKindFromPath(programPath);
  if (process.kind == ProcessKind::NetscapeFamily) {
    Set(shared.nsFirstWindow);
  }
  if (process.kind == ProcessKind::Aim || process.kind == ProcessKind::IcqLite) {
    Clear(process.imUserAction);
  }
  Store(shared.ieLastAction, now);
  Store(shared.nsLastAction, now);
  Store(process.imLastAction, now);
}

// WM_INITMENUPOPUP: in the browser an open menu makes the next N key or menu
// click count as a user action.
inline void OnMenuOpened(const ProcessState& process, SharedState& shared) {
  if (process.kind == ProcessKind::InternetExplorer) {
    hookrule_detail::Set(shared.ieMenuOpen);
  }
}

namespace hookrule_detail {

// A frame in a browser group: let through once after a skip (first
// Netscape window, or a click on an embedded browser control), else the rule.
inline KillTimerTarget DecideGroupFrame(std::atomic<uint8_t>& skipNext, std::atomic<uint8_t>& userAction,
                                        std::atomic<uint32_t>& lastAction, uint32_t now) {
  if (Take(skipNext)) {
    Store(lastAction, now);
    return KillTimerTarget::None;
  }
  return FrameIsPopup(userAction, lastAction, now) ? KillTimerTarget::Window : KillTimerTarget::None;
}

inline KillTimerTarget DecideKillTimer(ProcessState& process, SharedState& shared, const WindowFacts& window,
                                       uint32_t now) {
  const ProcessKind kind = process.kind;
  if (kind == ProcessKind::Morpheus || kind == ProcessKind::Kazaa) {
    Clear(shared.ieUserAction);
  }
  if (!IsBrowserFrame(kind, window)) {
    return KillTimerTarget::None;
  }
  switch (kind) {
    case ProcessKind::InternetExplorer:
      return DecideGroupFrame(shared.ieSkipNext, shared.ieUserAction, shared.ieLastAction, now);
    case ProcessKind::NetscapeFamily:
      return DecideGroupFrame(shared.nsFirstWindow, shared.nsUserAction, shared.nsLastAction, now);
    case ProcessKind::Aol:
      // AOL's frame is a child of the window that has to go.
      return FrameIsPopup(process.imUserAction, process.imLastAction, now) && window.hasParent
                 ? KillTimerTarget::Parent
                 : KillTimerTarget::None;
    case ProcessKind::Aim:
    case ProcessKind::IcqLite:
      return FrameIsPopup(process.imUserAction, process.imLastAction, now) ? KillTimerTarget::Window
                                                                           : KillTimerTarget::None;
    case ProcessKind::Kazaa:
      return KillTimerTarget::Window;
    default:
      return KillTimerTarget::None;
  }
}

}  // namespace hookrule_detail

// WM_CREATE of any window, top-level or child. Every window of a watched
// process is reported; frames opened without a user action get the kill timer.
inline CreateDecision OnWindowCreated(ProcessState& process, SharedState& shared, const WindowFacts& window,
                                      uint32_t now) {
  if (!WatchesWindows(process.kind)) {
    return {false, KillTimerTarget::None};
  }
  return {true, hookrule_detail::DecideKillTimer(process, shared, window, now)};
}

namespace hookrule_detail {

inline void OnKeyDown(ProcessState& process, SharedState& shared, uint32_t virtualKey, uint32_t now) {
  const ProcessKind kind = process.kind;
  const bool ctrl = IsSet(process.ctrlDown);
  if (virtualKey == kVkControl) {
    Set(process.ctrlDown);
  } else if (virtualKey == kVkReturn && kind == ProcessKind::Shell) {
    // Enter in the shell may open a page in either browser family.
    RecordAction(shared.ieUserAction, shared.ieLastAction, now);
    RecordAction(shared.nsUserAction, shared.nsLastAction, now);
    Store(process.imLastAction, now);
  } else if (virtualKey == kVkReturn && kind == ProcessKind::Aol) {
    RecordAction(process.imUserAction, process.imLastAction, now);
  } else if (virtualKey == kVkN && kind == ProcessKind::InternetExplorer) {
    if (ctrl || IsSet(shared.ieMenuOpen)) {
      RecordAction(shared.ieUserAction, shared.ieLastAction, now);
    }
  } else if (virtualKey == kVkN && kind == ProcessKind::NetscapeFamily) {
    if (ctrl) {
      RecordAction(shared.nsUserAction, shared.nsLastAction, now);
    }
  } else if (virtualKey == kVkW && kind == ProcessKind::NetscapeFamily) {
    if (ctrl || IsSet(shared.nsRightClick)) {
      RecordAction(shared.nsUserAction, shared.nsLastAction, now);
    }
  }
}

}  // namespace hookrule_detail

// Keyboard hook. An open menu or a right click counts only until the next
// key event, down or up.
inline void OnKeyEvent(ProcessState& process, SharedState& shared, uint32_t virtualKey, bool keyUp, uint32_t now) {
  using namespace hookrule_detail;
  if (process.kind == ProcessKind::NotWatched) {
    return;
  }
  if (!keyUp) {
    OnKeyDown(process, shared, virtualKey, now);
  } else if (virtualKey == kVkControl) {
    Clear(process.ctrlDown);
  }
  if (process.kind == ProcessKind::InternetExplorer) {
    Clear(shared.ieMenuOpen);
  } else if (process.kind == ProcessKind::NetscapeFamily) {
    Clear(shared.nsRightClick);
  }
}

namespace hookrule_detail {

inline void OnLeftClick(ProcessState& process, SharedState& shared, const ClickFacts& click, uint32_t now) {
  const ProcessKind kind = process.kind;
  if (EqualsIgnoringCase(click.className, "Internet Explorer_Server") && kind != ProcessKind::Shell &&
      kind != ProcessKind::InternetExplorer) {
    // A click on a browser control embedded in another program (any
    // program, watched or not) lets the next browser frame through.
    Set(shared.ieSkipNext);
    RecordAction(shared.ieUserAction, shared.ieLastAction, now);
    return;
  }
  switch (kind) {
    case ProcessKind::Shell:
      RecordAction(shared.ieUserAction, shared.ieLastAction, now);
      RecordAction(shared.nsUserAction, shared.nsLastAction, now);
      Store(process.imLastAction, now);
      break;
    case ProcessKind::InternetExplorer:
      if (Take(shared.ieMenuOpen)) {
        RecordAction(shared.ieUserAction, shared.ieLastAction, now);
      }
      break;
    case ProcessKind::NetscapeFamily:
      if (click.hasParent) {
        Clear(shared.nsRightClick);
        RecordAction(shared.nsUserAction, shared.nsLastAction, now);
      }
      break;
    case ProcessKind::Aol:
    case ProcessKind::Aim:
      RecordAction(process.imUserAction, process.imLastAction, now);
      break;
    case ProcessKind::IcqLite:
      // Only the stamp: ICQ Lite frames stay popups whatever the user does.
      Store(process.imLastAction, now);
      break;
    default:
      break;
  }
}

}  // namespace hookrule_detail

// Mouse hook, for every process (also unwatched ones: see OnLeftClick).
inline void OnMouseEvent(ProcessState& process, SharedState& shared, MouseButtonEvent event, const ClickFacts& click,
                         uint32_t now) {
  if (event == MouseButtonEvent::LeftUp) {
    hookrule_detail::OnLeftClick(process, shared, click, now);
  } else if (process.kind == ProcessKind::NetscapeFamily) {
    hookrule_detail::Set(shared.nsRightClick);
  }
}
