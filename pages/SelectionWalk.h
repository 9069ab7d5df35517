#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "pages/SortedTextList.h"

// The walk the pages' "Remove", "Allow " and "Block" buttons share: from
// index 0 while the index is below the current count, a selected entry is
// deleted and handed to `taken`, and the same index is examined again.
// `taken` runs after the delete, so it sees the list without the entry.
// Returns how many entries were taken.
std::size_t TakeSelected(SortedTextList& list, const std::function<void(const std::string& text)>& taken);
