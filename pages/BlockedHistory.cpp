#include "pages/BlockedHistory.h"

#include <utility>

#include "pages/ListFiles.h"
#include "pages/SelectionWalk.h"

BlockedHistory::BlockedHistory(IFileStore& store, const ITextCompare& compare, std::string path)
    : store(store), compare(compare), path(std::move(path)), list(compare)
{
}

bool BlockedHistory::LoadFromFile()
{
    // Reading the file over a change that never reached it would lose the
    // change; it is saved first, and kept in memory while that still fails.
    if (unsaved && !SaveToFile()) {
        return false;
    }
    SortedTextList read(compare);
    if (ReadBlockedHistoryFile(store, path, read, kMaxListLines)) {
        list = std::move(read);
        fileUnread = false;
        return true;
    }
    // As for the allowed list: a file that cannot be read is not empty.
    fileUnread = store.Exists(path);
    if (!fileUnread) {
        list.Clear();
    }
    return false;
}

bool BlockedHistory::SaveToFile()
{
    unsaved = !TakeInUnreadFile() || !WriteBlockedHistoryFile(store, path, list);
    return !unsaved;
}

bool BlockedHistory::TakeInUnreadFile()
{
    if (!fileUnread) {
        return true;
    }
    SortedTextList read(compare);
    if (!ReadBlockedHistoryFile(store, path, read, kMaxListLines)) {
        fileUnread = store.Exists(path);
        return !fileUnread;
    }
    list.AddMissing(read, titleAdded);
    fileUnread = false;
    return true;
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
