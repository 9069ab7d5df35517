#include "pages/AddBanners.h"

#include <optional>
#include <string>
#include <string_view>

#include "pages/ListFileIo.h"
#include "pages/SelectionWalk.h"
#include "pages/TitleSearch.h"

AddBanners::AddBanners(const ITextCompare& compare) : compare(compare), list(compare) {}

void AddBanners::OnRefresh(const IDesktop& desktop)
{
    list.Clear();
    for (const WindowId window : desktop.TopLevelWindows()) {
        if (!desktop.IsWindowVisible(window)) {
            continue;
        }
        const std::optional<std::string> title = desktop.WindowTitle(window);
        if (!title) {
            continue;
        }
        const std::string_view trimmed = TrimTrailingSpace(*title);
        if (trimmed.empty()) {
            continue;
        }
        for (const char* mark : kBrowserTitleMarks) {
            if (ContainsWholeCharacters(trimmed, mark, compare)) {
                list.Add(std::string(trimmed));
            }
        }
    }
}

void AddBanners::OnBlock(IDesktop& desktop, const std::function<void(WindowId)>& killPopupWindow)
{
    TakeSelected(list, [&](const std::string& text) {
        const WindowId window = desktop.FindTopLevel(nullptr, text.c_str());
        if (window != 0 && killPopupWindow) {
            killPopupWindow(window);
        }
        desktop.Pause(kBlockPauseMilliseconds);
    });
}
