#include "pages/BlockedHistory.h"

#include <utility>

#include "pages/ListFiles.h"
#include "pages/SelectionWalk.h"

BlockedHistory::BlockedHistory(IFileStore& store, const ITextCompare& compare, std::string path)
    : file(store, compare, std::move(path), ReadBlockedHistoryFile, WriteBlockedHistoryFile), list(compare)
{
}

bool BlockedHistory::LoadFromFile()
{
    return file.Load(list, titleAdded);
}

bool BlockedHistory::SaveToFile()
{
    return file.Save(list, titleAdded);
}

bool BlockedHistory::AddTitle(const std::string& title)
{
    if (title.empty() || list.FindPrefix(title)) {
        return false;
    }
    const std::size_t index = list.Add(title);
    SaveToFile();
    if (titleAdded) {
        titleAdded(index);
    }
    return true;
}

bool BlockedHistory::IsBlockedTitle(std::string_view title) const
{
    return !title.empty() && list.FindExact(title).has_value();
}

void BlockedHistory::OnRemove()
{
    TakeSelected(list, nullptr);
    SaveToFile();
}

void BlockedHistory::OnAllow(AllowedBanners& allowed)
{
    if (list.IsEmpty()) {
        return;
    }
    TakeSelected(list, [&](const std::string& text) { allowed.AddMoved(text); });
    SaveToFile();
}
