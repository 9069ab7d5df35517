#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/TextCompare.h"

// Sorted-list helpers shared by the text list and the adware list. Order is
// ascending by text ignoring case; an entry goes after the entries that
// compare equal to it, so equal texts keep the order they were added in.
// `textOf` maps an element to its text.

template <typename T, typename TextOf>
std::size_t InsertSortedNoCase(std::vector<T>& items, T item, const ITextCompare& compare, TextOf textOf)
{
    const auto pos = std::upper_bound(items.begin(), items.end(), item, [&](const T& a, const T& b) {
        return compare.CompareNoCase(textOf(a), textOf(b)) < 0;
    });
    const auto index = static_cast<std::size_t>(pos - items.begin());
    items.insert(pos, std::move(item));
    return index;
}

// Same result as inserting each of `added` one after the other, in
// O(n log n) instead of the O(n^2) moves of repeated inserts into a vector.
template <typename T, typename TextOf>
void InsertAllSortedNoCase(std::vector<T>& items, std::vector<T> added, const ITextCompare& compare,
                           TextOf textOf)
{
    const auto less = [&](const T& a, const T& b) { return compare.CompareNoCase(textOf(a), textOf(b)) < 0; };
    std::stable_sort(added.begin(), added.end(), less);
    const auto oldCount = static_cast<std::ptrdiff_t>(items.size());
    items.insert(items.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    // inplace_merge keeps the earlier range first among equals, which is
    // where later inserts would have placed them too.
    std::inplace_merge(items.begin(), items.begin() + oldCount, items.end(), less);
}

// True when `text` begins with `prefix`, ignoring case.
inline bool StartsWithNoCase(std::string_view text, std::string_view prefix, const ITextCompare& compare)
{
    return text.size() >= prefix.size() && compare.CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}
