#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Desktop.h"
#include "platform/Sound.h"

// A desktop of top-level windows that answers like the system does: each
// window has a class, a title, a style and a visibility, and they stand in
// z-order (the first added is topmost). Posts to a window that no longer
// exists fail, as PostMessage does, and are counted apart from the ones that
// reached a window. FindTopLevel compares class and title ignoring ASCII
// case, as FindWindow does.
class FakeDesktop final : public IDesktop {
public:
    enum class CloseKind { SystemClose, Close };
    struct PostedClose {
        WindowId window;
        CloseKind kind;
    };

    static constexpr std::uint32_t kVisibleStyle = 0x10000000u;  // WS_VISIBLE

    // Adds a window below the ones already there and returns its id.
    WindowId Add(std::string className, std::string title, bool visible = true, std::uint32_t style = 0)
    {
        const WindowId id = nextId++;
        windows.push_back(Window{id, std::move(className), std::move(title), visible, style});
        return id;
    }
    // The window is destroyed: every later question about it fails.
    void Vanish(WindowId id)
    {
        windows.erase(std::remove_if(windows.begin(), windows.end(), [&](const Window& w) { return w.id == id; }),
                      windows.end());
    }

    bool ctrlDown = false;
    std::vector<PostedClose> posted;
    std::size_t failedPosts = 0;
    std::vector<unsigned> pauses;

    unsigned TotalPausedMs() const
    {
        unsigned total = 0;
        for (const unsigned ms : pauses) {
            total += ms;
        }
        return total;
    }
    std::vector<WindowId> SystemClosed() const { return PostedOf(CloseKind::SystemClose); }
    std::vector<WindowId> Closed() const { return PostedOf(CloseKind::Close); }

    std::optional<std::string> WindowTitle(WindowId window) const override
    {
        const Window* found = Find(window);
        return found ? std::optional<std::string>(found->title) : std::nullopt;
    }
    bool IsWindowVisible(WindowId window) const override
    {
        const Window* found = Find(window);
        return found != nullptr && found->visible;
    }
    std::uint32_t WindowStyle(WindowId window) const override
    {
        const Window* found = Find(window);
        if (found == nullptr) {
            return 0;
        }
        return found->visible ? (found->style | kVisibleStyle) : (found->style & ~kVisibleStyle);
    }
    WindowId FindTopLevel(const char* className, const char* title) const override
    {
        for (const Window& window : windows) {
            if ((className == nullptr || EqualNoCase(window.className, className)) &&
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
            ids.push_back(window.id);
        }
        return ids;
    }
    void PostSystemClose(WindowId window) override { Post(window, CloseKind::SystemClose); }
    void PostClose(WindowId window) override { Post(window, CloseKind::Close); }
    bool IsCtrlKeyDown() const override { return ctrlDown; }
    void Pause(unsigned milliseconds) override { pauses.push_back(milliseconds); }

private:
    struct Window {
        WindowId id;
        std::string className;
        std::string title;
        bool visible;
        std::uint32_t style;
    };

    static bool EqualNoCase(const std::string& a, const std::string& b)
    {
        const auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
    }
    const Window* Find(WindowId id) const
    {
        const auto found = std::find_if(windows.begin(), windows.end(), [&](const Window& w) { return w.id == id; });
        return found == windows.end() ? nullptr : &*found;
    }
    void Post(WindowId window, CloseKind kind)
    {
        if (Find(window) == nullptr) {
            ++failedPosts;
            return;
        }
        posted.push_back(PostedClose{window, kind});
    }
    std::vector<WindowId> PostedOf(CloseKind kind) const
    {
        std::vector<WindowId> ids;
        for (const PostedClose& post : posted) {
            if (post.kind == kind) {
                ids.push_back(post.window);
            }
        }
        return ids;
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
