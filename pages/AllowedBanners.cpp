#include "pages/AllowedBanners.h"

#include <utility>

#include "pages/ListFiles.h"
#include "pages/SelectionWalk.h"
#include "pages/TitleSearch.h"

AllowedBanners::AllowedBanners(IFileStore& store, const ITextCompare& compare, std::string path)
    : store(store), compare(compare), path(std::move(path)), list(compare)
{
}

bool AllowedBanners::LoadFromFile()
{
    // Reading the file over a change that never reached it would lose the
    // change; it is saved first, and kept in memory while that still fails.
    if (unsaved && !SaveToFile()) {
        return false;
    }
    SortedTextList read(compare);
    if (ReadAllowedFile(store, path, read, kMaxListLines)) {
        list = std::move(read);
        fileUnread = false;
        return true;
    }
    // A file that exists but cannot be read (held by another program, no
    // read access) is not an empty list: the list stays as it was, and no
    // save may replace the file before its entries have been read.
    fileUnread = store.Exists(path);
    if (!fileUnread) {
        list.Clear();
    }
    return false;
}

bool AllowedBanners::SaveToFile()
{
    unsaved = !TakeInUnreadFile() || !WriteAllowedFile(store, path, list);
    return !unsaved;
}

bool AllowedBanners::TakeInUnreadFile()
{
    if (!fileUnread) {
        return true;
    }
    SortedTextList read(compare);
    if (!ReadAllowedFile(store, path, read, kMaxListLines)) {
        fileUnread = store.Exists(path);
        return !fileUnread;
    }
    list.AddMissing(read, nullptr);
    fileUnread = false;
    if (listChanged) {
        listChanged();
    }
    return true;
}

bool AllowedBanners::OnAddPopup(const std::string& entryText)
{
    if (entryText.empty() || list.FindPrefix(entryText)) {
        return false;
    }
    list.Add(entryText);
    SaveToFile();
    return true;
}

void AllowedBanners::OnRemove()
{
    TakeSelected(list, nullptr);
    SaveToFile();
}

void AllowedBanners::AddMoved(const std::string& title)
{
    list.Add(title);
    SaveToFile();
}

bool AllowedBanners::IsAllowed(std::string_view title) const
{
    if (title.empty()) {
        return false;
    }
    const BytePairFilter filter(title);
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const std::string& entry = list.TextAt(i);
        if (filter.MayContain(entry) && ContainsWholeCharacters(title, entry, compare)) {
            return true;
        }
    }
    return false;
}
