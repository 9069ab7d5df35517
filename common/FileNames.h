#pragma once

#include <string_view>

// The rule for file names that come from outside (a server listing, the
// "New\" folder): which ones can only mean a file in the folder they are
// joined to.

// True when `text` starts with `lowerPrefix`, ignoring the case of ASCII
// letters; the prefix is given in lower case.
bool StartsWithIgnoringCase(std::string_view text, std::string_view lowerPrefix);

// True for a name that can only mean a file in the folder it is joined to:
// no "\", "/" or ":", no "..", no control or wildcard characters, no trailing
// dot or blank, and no device name such as CON or LPT1 (with or without an
// extension).
bool IsPlainFileName(std::string_view name);
