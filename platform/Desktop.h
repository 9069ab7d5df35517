#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A top-level window of any program, as the system's window handle in an
// integer. 0 names no window.
using WindowId = std::uintptr_t;

// The window services the engine and the add-popups page use, so that every
// decision about other programs' windows runs against a fake desktop in the
// tests. Windows of other programs are only ever posted to, never sent to:
// a hung program must not hang the guard.
class IDesktop {
public:
    virtual ~IDesktop() = default;

    // The window's text as it stands; nullopt when the window no longer
    // exists, so that a vanished window is told apart from an empty title.
    virtual std::optional<std::string> WindowTitle(WindowId window) const = 0;
    virtual bool IsWindowVisible(WindowId window) const = 0;
    // 0 for a window that no longer exists.
    virtual std::uint32_t WindowStyle(WindowId window) const = 0;
    // First top-level window in z-order (topmost first) whose class and title
    // equal the given ones, ignoring case as the system's FindWindow does.
    // nullptr matches any class or any title; "" matches only an empty title.
    // 0 when there is none.
    virtual WindowId FindTopLevel(const char* className, const char* title) const = 0;
    // All top-level windows in z-order, topmost first.
    virtual std::vector<WindowId> TopLevelWindows() const = 0;
    // The full path of the program file of the process that owns the
    // window; "" when the window is gone or its process cannot be asked.
    virtual std::string WindowProgramPath(WindowId window) const = 0;
    // The window's parent is the desktop; false for a vanished window.
    virtual bool IsTopLevel(WindowId window) const = 0;
    // A direct child of the window has the class (compared ignoring case).
    virtual bool HasChildOfClass(WindowId window, const char* className) const = 0;
    // Posts WM_SYSCOMMAND with SC_CLOSE and lParam 0; false when the post
    // failed (the window is gone, or the system refused it).
    virtual bool PostSystemClose(WindowId window) = 0;
    // Posts WM_CLOSE; false when the post failed.
    virtual bool PostClose(WindowId window) = 0;
    // The high bit of the Ctrl key's asynchronous state, read now.
    virtual bool IsCtrlKeyDown() const = 0;
    // Holds the calling thread.
    virtual void Pause(unsigned milliseconds) = 0;
};
