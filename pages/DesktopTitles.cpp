#include "pages/DesktopTitles.h"

#include "pages/ListFileIo.h"

std::vector<TitledWindow> VisibleTitledWindows(const IDesktop& desktop)
{
    std::vector<TitledWindow> found;
    for (const WindowId window : desktop.TopLevelWindows()) {
        if (!desktop.IsWindowVisible(window)) {
            continue;
        }
        const std::optional<std::string> title = desktop.WindowTitle(window);
        if (!title) {
            continue;
        }
        const std::string_view trimmed = TrimTrailingSpace(*title);
        if (!trimmed.empty()) {
            found.push_back(TitledWindow{window, std::string(trimmed)});
        }
    }
    return found;
}
