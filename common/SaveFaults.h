#pragma once

#include <cstddef>
#include <string>

// Saves that fail (a list file replaced by a folder or held by another
// program, a read-only program folder, a settings key without write access)
// keep the change in memory and are tried again; the user hears of them
// once, in the program's own message box, and again only for a fault that
// went away and came back. One bit per thing the program saves.
struct SaveFaultItem {
    unsigned bit;
    const char* name;  // a file name, or "its settings"
};

class SaveFaultNotice {
public:
    // `faults`: what still stands unsaved after this round's retry. True
    // when the user should be told now: a fault stands that they have not
    // been told of. While `boxOpen` (another box of the program is on
    // screen) telling waits for a later round.
    bool ShouldTell(unsigned faults, bool boxOpen);

private:
    unsigned told = 0;
};

// "Tarnelix cannot save AllowBanners.dat and its settings. It keeps your
// changes and saves them as soon as it can." Lists the items whose bit is
// set in `faults`, in table order.
std::string SaveFaultMessage(const std::string& program, unsigned faults, const SaveFaultItem* items,
                             std::size_t count);
