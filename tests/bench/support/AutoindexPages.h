#pragma once

#include <string>
#include <vector>

#include "support/AutoindexListing.h"

// A listing of `entries` lines named Update0.dll, Update1.dll, ...
inline std::string AutoindexPageOf(int entries)
{
    std::vector<std::string> lines;
    for (int i = 0; i < entries; ++i) {
        lines.push_back(AutoindexLine("Update" + std::to_string(i) + ".dll", "07-Dec-2026 06:10",
                                      std::to_string(1000 + i * 37)));
    }
    return AutoindexPage(lines);
}
