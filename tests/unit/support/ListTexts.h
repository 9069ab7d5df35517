#pragma once

#include <string>
#include <vector>

#include "pages/SortedTextList.h"

// The entries of a list in list order, for comparing with a whole expected list.
inline std::vector<std::string> Texts(const SortedTextList& list)
{
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        texts.push_back(list.TextAt(i));
    }
    return texts;
}
