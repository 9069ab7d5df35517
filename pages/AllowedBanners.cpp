#include "pages/AllowedBanners.h"

#include <utility>

#include "pages/ListFiles.h"
#include "pages/SelectionWalk.h"
#include "pages/TitleSearch.h"

AllowedBanners::AllowedBanners(IFileStore& store, const ITextCompare& compare, std::string path)
    : compare(compare), file(store, compare, std::move(path), ReadAllowedFile, WriteAllowedFile), list(compare)
{
}

bool AllowedBanners::LoadFromFile()
{
    return TellingListChanged([this](const SortedListFile::Added& added) { return file.Load(list, added); });
}

bool AllowedBanners::SaveToFile()
{
    return TellingListChanged([this](const SortedListFile::Added& added) { return file.Save(list, added); });
}

bool AllowedBanners::TellingListChanged(const std::function<bool(const SortedListFile::Added&)>& fileOperation)
{
    // The list box shows the whole list again once, however many entries
    // the save took in.
    bool tookIn = false;
    const bool done = fileOperation([&](std::size_t) { tookIn = true; });
    if (tookIn && listChanged) {
        listChanged();
    }
    return done;
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
