#include "pages/SelectionWalk.h"


std::size_t TakeSelected(SortedTextList& list, const std::function<void(const std::string& text)>& taken)
{
    std::size_t count = 0;
    std::size_t index = 0;
    while (index < list.Count()) {
        if (!list.IsSelected(index)) {
            ++index;
            continue;
        }
        std::string text = list.TextAt(index);
        list.DeleteAt(index);
        ++count;
        if (taken) {
            taken(text);
        }
    }
    return count;
}
