#include "pages/AdwareList.h"

#include <utility>

#include "pages/SortedInsert.h"

namespace {

const AdwareItem kNoItem;

std::string_view NameOf(const AdwareItem& item)
{
    return item.name;
}

}  // namespace

AdwareList::AdwareList(const ITextCompare& compare) : compare(&compare) {}

const AdwareItem& AdwareList::ItemAt(std::size_t index) const
{
    return index < items.size() ? items[index] : kNoItem;
}

bool AdwareList::SetChecked(std::size_t index, bool checked)
{
    if (index >= items.size()) {
        return false;
    }
    items[index].checked = checked;
    return true;
}

bool AdwareList::Add(std::string name, std::string key, bool checked)
{
    if (HasName(name)) {
        return false;
    }
    keyTable.Set(name, std::move(key));
    InsertSortedNoCase(items, AdwareItem{std::move(name), checked}, *compare, NameOf);
    return true;
}

void AdwareList::AddAll(std::vector<AdwareRecord> records)
{
    std::vector<AdwareItem> accepted;
    accepted.reserve(records.size());
    for (AdwareRecord& record : records) {
        if (HasName(record.name)) {
            continue;
        }
        keyTable.Set(record.name, std::move(record.key));
        accepted.push_back(AdwareItem{std::move(record.name), record.checked});
    }
    InsertAllSortedNoCase(items, std::move(accepted), *compare, NameOf);
}

void AdwareList::Clear()
{
    items.clear();
    keyTable.Clear();
}

std::optional<std::string> AdwareList::FindNameByKey(std::string_view key) const
{
    const StringPair* pair = keyTable.FindBySecond(key);
    if (pair == nullptr) {
        return std::nullopt;
    }
    return pair->first;
}

bool AdwareList::IsCheckedByPrefix(std::string_view name) const
{
    for (const AdwareItem& item : items) {
        if (StartsWithNoCase(item.name, name, *compare)) {
            return item.checked;
        }
    }
    return false;
}
