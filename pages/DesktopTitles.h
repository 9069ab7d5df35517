#pragma once

#include <string>
#include <vector>

#include "platform/Desktop.h"

// A visible top-level window and its title without trailing white space.
struct TitledWindow {
    WindowId window = 0;
    std::string title;
};

// The visible top-level windows whose titles are not empty once trailing
// white space is gone, in the desktop's order. Windows that vanish while
// they are read are left out. The blocked-title sweep and the add-popups
// page both look at the desktop this way.
std::vector<TitledWindow> VisibleTitledWindows(const IDesktop& desktop);
