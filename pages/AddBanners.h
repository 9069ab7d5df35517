#pragma once

#include <array>
#include <functional>

#include "pages/SortedTextList.h"
#include "platform/Desktop.h"
#include "platform/TextCompare.h"

// Texts that mark a window title as one of a known browser or messenger,
// tested in this order, each on its own.
inline constexpr std::array<const char*, 4> kBrowserTitleMarks = {
    "Microsoft Internet Explorer",
    "Netscape",
    "Mozilla",
    "AOL(R) Instant Messenger(TM)",
};

// Time "Block" waits after each selected title, window found or not, so the
// closing windows settle before the next title is looked up.
inline constexpr unsigned kBlockPauseMilliseconds = 300;

// The add-popups page's list: titles of the open browser and messenger
// windows, which the user selects and blocks by hand. It keeps nothing of
// its own; the list is rebuilt from the desktop on every refresh. The
// comparison must outlive it.
class AddBanners {
public:
    explicit AddBanners(const ITextCompare& compare);

    // Empties the list and adds the title (trailing white space removed) of
    // every visible top-level window once per mark it contains; untitled
    // windows are skipped.
    void OnRefresh(const IDesktop& desktop);
    // Takes each selected title off the list, finds the first top-level
    // window with that title and hands it to `killPopupWindow` (the engine's
    // kill, which decides on Disable, Ctrl and the allowed list), then waits
    // kBlockPauseMilliseconds. Nothing is saved here.
    void OnBlock(IDesktop& desktop, const std::function<void(WindowId)>& killPopupWindow);

    SortedTextList& List() { return list; }
    const SortedTextList& List() const { return list; }

private:
    const ITextCompare& compare;
    SortedTextList list;
};
