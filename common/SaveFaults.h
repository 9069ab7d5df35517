#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Saves that fail (a list file replaced by a folder or held by another
// program, a read-only program folder, a settings key without write access)
// keep the change in memory and are tried again; the user hears of them
// once, in the program's own message box, and again only for a fault that
// went away and came back. One bit per thing the program saves.
struct SaveFaultItem {
    unsigned bit;
    const char* name;  // a file name, or kSettingsFaultName
};
inline constexpr char kSettingsFaultName[] = "its settings";

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

// What one program saves, each thing with the way to save it again: the
// rounds of saving again and telling that both programs run from a timer.
class SaveWatch {
public:
    struct Saved {
        const char* name;                // in the message
        std::function<bool()> unsaved;   // true while a save of it failed
        std::function<void()> saveAgain;
    };

    SaveWatch(std::string program, std::vector<Saved> saved) : program(std::move(program)), saved(std::move(saved)) {}

    // Saves again what stands unsaved; true when everything is saved now.
    bool SaveAgain();
    // SaveAgain, then the message for the user when a fault stands that
    // they have not been told of (see SaveFaultNotice); nullopt otherwise.
    std::optional<std::string> Check(bool boxOpen);

private:
    std::string program;
    std::vector<Saved> saved;
    SaveFaultNotice notice;
};
