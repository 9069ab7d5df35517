#include "common/SaveFaults.h"

#include <vector>

bool SaveFaultNotice::ShouldTell(unsigned faults, bool boxOpen)
{
    told &= faults;  // a fault that went away is told again when it comes back
    if ((faults & ~told) == 0 || boxOpen) {
        return false;
    }
    told = faults;
    return true;
}

std::string SaveFaultMessage(const std::string& program, unsigned faults, const SaveFaultItem* items,
                             std::size_t count)
{
    std::vector<const char*> names;
    for (std::size_t i = 0; i < count; ++i) {
        if ((faults & items[i].bit) != 0) {
            names.push_back(items[i].name);
        }
    }
    std::string text = program + " cannot save ";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            text += i + 1 == names.size() ? " and " : ", ";
        }
        text += names[i];
    }
    return text + ". It keeps your changes and saves them as soon as it can.";
}

bool SaveWatch::SaveAgain()
{
    bool allSaved = true;
    for (const Saved& thing : saved) {
        if (thing.unsaved()) {
            thing.saveAgain();
            allSaved = allSaved && !thing.unsaved();
        }
    }
    return allSaved;
}

std::optional<std::string> SaveWatch::Check(bool boxOpen)
{
    SaveAgain();
    std::vector<SaveFaultItem> items;
    unsigned faults = 0;
    for (std::size_t i = 0; i < saved.size(); ++i) {
        items.push_back({1u << i, saved[i].name});
        faults |= saved[i].unsaved() ? 1u << i : 0;
    }
    if (!notice.ShouldTell(faults, boxOpen)) {
        return std::nullopt;
    }
    return SaveFaultMessage(program, faults, items.data(), items.size());
}
