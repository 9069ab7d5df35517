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
    return ReadAllowedFile(store, path, list, kMaxListLines);
}

bool AllowedBanners::SaveToFile()
{
    unsaved = !WriteAllowedFile(store, path, list);
    return !unsaved;
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
