#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Desktop.h"
#include "platform/Sound.h"
#include "platform/TextCompare.h"

// A desktop that answers like the system: top-level windows in z-order (first
// added topmost), owned by Internet Explorer unless set; posts to a vanished
// window or while refusePosts is set fail; class and title searches ignore case.
class FakeDesktop final : public IDesktop {
public:
    static constexpr std::uint32_t kVisibleStyle = 0x10000000u;  // WS_VISIBLE
    static constexpr const char* kBrowserPath = "C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE";

    // Adds a top-level window below the ones already there and returns its id.
    WindowId Add(std::string className, std::string title, bool visible = true, std::uint32_t style = 0)
    {
        windows.push_back({nextId, std::move(className), std::move(title), visible, style, 0, kBrowserPath});
        return nextId++;
    }
    WindowId AddChild(WindowId parent, std::string className, std::string title = "")
    {
        const WindowId id = Add(std::move(className), std::move(title));
        windows.back().parent = parent;
        windows.back().program = Find(parent)->program;
        return id;
    }
    // A top-level window created now, in front of all others. reusedId: the
    // handle value of a vanished window, which the system may hand out again.
    WindowId AddInFront(std::string className, std::string title, WindowId reusedId = 0)
    {
        const WindowId id = reusedId != 0 ? reusedId : nextId++;
        windows.insert(windows.begin(), {id, std::move(className), std::move(title), true, 0, 0, kBrowserPath});
        return id;
    }
    void SetProgram(WindowId id, std::string path) { Find(id)->program = std::move(path); }
    // The window is destroyed: every later question about it fails.
    void Vanish(WindowId id)
    {
        windows.erase(std::remove_if(windows.begin(), windows.end(), [&](const Window& w) { return w.id == id; }),
                      windows.end());
    }

    bool ctrlDown = false;
    bool refusePosts = false;
    std::vector<WindowId> systemClosed;  // WM_SYSCOMMAND/SC_CLOSE posted
    std::vector<WindowId> closed;        // WM_CLOSE posted
    std::vector<unsigned> pauses;

    std::optional<std::string> WindowTitle(WindowId window) const override
    {
        const Window* found = Find(window);
        return found ? std::optional<std::string>(found->title) : std::nullopt;
    }
    bool IsWindowVisible(WindowId window) const override { return Find(window) != nullptr && Find(window)->visible; }
    std::uint32_t WindowStyle(WindowId window) const override
    {
        const Window* found = Find(window);
        return found == nullptr ? 0 : found->visible ? (found->style | kVisibleStyle) : (found->style & ~kVisibleStyle);
    }
    WindowId FindTopLevel(const char* className, const char* title) const override
    {
        for (const Window& window : windows) {
            if (window.parent == 0 && (className == nullptr || EqualNoCase(window.className, className)) &&
                (title == nullptr || EqualNoCase(window.title, title))) {
                return window.id;
            }
        }
        return 0;
    }
    std::vector<WindowId> TopLevelWindows() const override
    {
        std::vector<WindowId> ids;
        for (const Window& window : windows) {
            if (window.parent == 0) {
                ids.push_back(window.id);
            }
        }
        return ids;
    }
    std::string WindowProgramPath(WindowId window) const override
    {
        return Find(window) != nullptr ? Find(window)->program : "";
    }
    bool IsTopLevel(WindowId window) const override { return Find(window) != nullptr && Find(window)->parent == 0; }
    bool HasChildOfClass(WindowId window, const char* className) const override
    {
        return std::any_of(windows.begin(), windows.end(), [&](const Window& w) {
            return window != 0 && w.parent == window && EqualNoCase(w.className, className);
        });
    }
    bool PostSystemClose(WindowId window) override { return Post(window, systemClosed); }
    bool PostClose(WindowId window) override { return Post(window, closed); }
    bool IsCtrlKeyDown() const override { return ctrlDown; }
    void Pause(unsigned milliseconds) override { pauses.push_back(milliseconds); }

private:
    struct Window {
        WindowId id;
        std::string className;
        std::string title;
        bool visible;
        std::uint32_t style;
        WindowId parent;
        std::string program;
    };

    static bool EqualNoCase(const std::string& a, const std::string& b)
    {
        return AsciiTextCompare().CompareNoCase(a, b) == 0;
    }
    Window* Find(WindowId id)
    {
        const auto found = std::find_if(windows.begin(), windows.end(), [&](const Window& w) { return w.id == id; });
        return found == windows.end() ? nullptr : &*found;
    }
    const Window* Find(WindowId id) const { return const_cast<FakeDesktop*>(this)->Find(id); }
    bool Post(WindowId window, std::vector<WindowId>& posts)
    {
        const bool delivered = Find(window) != nullptr && !refusePosts;
        if (delivered) {
            posts.push_back(window);
        }
        return delivered;
    }

    std::vector<Window> windows;
    // Real handles are never small; starting high keeps a test from passing
    // by mistaking an index for an id.
    WindowId nextId = 0x10010;
};

// Records every path handed to the wave player.
class FakeSoundPlayer final : public ISoundPlayer {
public:
    std::vector<std::string> played;
    void PlayAsync(const std::string& path) override { played.push_back(path); }
};
