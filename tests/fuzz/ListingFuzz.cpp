// The update server's listing, as a hostile server may send it: the reading
// loop must end, and every name it takes must be safe to join to a folder
// or refused.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "app/core/UpdateCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string body(reinterpret_cast<const char*>(data), size);
    CRegExp re;
    StringPairList found;
    ReadListing(re, body, found);
    for (const StringPair& entry : found) {
        Require(entry.first.size() <= body.size() && entry.second.size() <= body.size());
        if (IsPlainFileName(entry.first)) {
            Require(entry.first.find_first_of("\\/:") == std::string::npos);
            const std::string url = FileUrl("http://127.0.0.1/t/", entry.first);
            Require(url.find_first_of(" #?") == std::string::npos);
        }
    }
    return 0;
}
