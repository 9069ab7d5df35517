#include "pages/SortedTextList.h"

#include <utility>

#include "pages/SortedInsert.h"

namespace {

const std::string kNoText;

}  // namespace

SortedTextList::SortedTextList(const ITextCompare& compare) : compare(&compare) {}

const std::string& SortedTextList::TextAt(std::size_t index) const
{
    return index < entries.size() ? entries[index].text : kNoText;
}

bool SortedTextList::IsSelected(std::size_t index) const
{
    return index < entries.size() && entries[index].selected;
}

bool SortedTextList::SetSelected(std::size_t index, bool selected)
{
    if (index >= entries.size()) {
        return false;
    }
    entries[index].selected = selected;
    return true;
}

std::size_t SortedTextList::Add(std::string text)
{
    return InsertSortedNoCase(entries, Entry{std::move(text), false}, *compare,
                              [](const Entry& e) -> std::string_view { return e.text; });
}

void SortedTextList::AddAll(std::vector<std::string> texts)
{
    std::vector<Entry> added;
    added.reserve(texts.size());
    for (std::string& text : texts) {
        added.push_back(Entry{std::move(text), false});
    }
    InsertAllSortedNoCase(entries, std::move(added), *compare,
                          [](const Entry& e) -> std::string_view { return e.text; });
}

bool SortedTextList::DeleteAt(std::size_t index)
{
    if (index >= entries.size()) {
        return false;
    }
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

std::optional<std::size_t> SortedTextList::FindPrefix(std::string_view prefix) const
{
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (StartsWithNoCase(entries[i].text, prefix, *compare)) {
            return i;
        }
    }
    return std::nullopt;
}

void SortedTextList::AddMissing(const SortedTextList& other, const std::function<void(std::size_t index)>& added)
{
    // Both lists are in the same order, so one walk finds what is missing
    // here; a search per entry would cost 10,000 squared comparisons.
    std::vector<std::string> missing;
    std::size_t here = 0;
    for (const Entry& entry : other.entries) {
        int order = -1;
        while (here < entries.size() && (order = compare->CompareNoCase(entries[here].text, entry.text)) < 0) {
            ++here;
        }
        if (here == entries.size() || order != 0) {
            missing.push_back(entry.text);
        }
    }
    for (std::string& text : missing) {
        const std::size_t index = Add(std::move(text));
        if (added) {
            added(index);
        }
    }
}

std::optional<std::size_t> SortedTextList::FindExact(std::string_view text) const
{
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (compare->CompareNoCase(entries[i].text, text) == 0) {
            return i;
        }
    }
    return std::nullopt;
}
