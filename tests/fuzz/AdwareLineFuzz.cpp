// One "Adware.dat" line: the parts it splits into must write back as a line
// that splits into the same parts.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "pages/ListFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::optional<AdwareRecord> record = ParseAdwareLine(line);
    if (!record) {
        return 0;
    }
    Require(!record->key.empty() && record->key.find(' ') == std::string::npos);
    Require(!record->name.empty());
    const std::string written = record->key + ' ' + (record->checked ? "TRUE" : "FALSE") + ' ' + record->name;
    const std::optional<AdwareRecord> again = ParseAdwareLine(written);
    Require(again && again->key == record->key && again->checked == record->checked && again->name == record->name);
    return 0;
}
