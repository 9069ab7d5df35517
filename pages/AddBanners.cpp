#include "pages/AddBanners.h"

#include <optional>
#include <string>
#include <string_view>

#include "pages/DesktopTitles.h"
#include "pages/SelectionWalk.h"
#include "pages/TitleSearch.h"

AddBanners::AddBanners(const ITextCompare& compare) : compare(compare), list(compare) {}

void AddBanners::OnRefresh(const IDesktop& desktop)
{
    list.Clear();
    for (const TitledWindow& candidate : VisibleTitledWindows(desktop)) {
        for (const char* mark : kBrowserTitleMarks) {
            if (ContainsWholeCharacters(candidate.title, mark, compare)) {
                list.Add(candidate.title);
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
