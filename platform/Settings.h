#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

// <windows.h> maps GetProfileInt, GetProfileString and WriteProfileString to
// the win.ini functions (...A/...W) by macro, which would rename the members
// below in every file that sees both headers. Nothing in the program uses
// win.ini, so the macros are dropped. A file that needs both headers must
// include <windows.h> first; including it afterwards brings the macros back
// and the calls below then fail to compile instead of binding to win.ini.
#ifdef GetProfileInt
#undef GetProfileInt
#endif
#ifdef GetProfileString
#undef GetProfileString
#endif
#ifdef WriteProfileString
#undef WriteProfileString
#endif

// The program's settings: named values in sections of the program's key,
// with the meaning of the classic registry-backed profile functions.
//
// - A missing value (or section) reads as the default given by the caller.
// - Integers are stored as 32-bit values, texts as strings.
// - A value of another type than the one asked for reads as the default:
//   a string or binary value asked for as an integer, an integer asked for as
//   a string, and anything that is neither a 32-bit value nor a string.
// - Writes create the section as needed and report whether they took.
class ISettings {
public:
    virtual ~ISettings() = default;
    virtual int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const = 0;
    virtual bool WriteProfileInt(const std::string& section, const std::string& entry, int value) = 0;
    virtual std::string GetProfileString(const std::string& section, const std::string& entry,
                                         const std::string& defaultValue) const = 0;
    virtual bool WriteProfileString(const std::string& section, const std::string& entry,
                                    const std::string& value) = 0;
};

// The shape of a stored value as the store reports it, so that the rules
// above are decided once, here, for the registry adapter and the test fake.
enum class StoredKind {
    Dword,  // REG_DWORD
    Text,   // REG_SZ
    Other,  // every other type, including REG_EXPAND_SZ and REG_QWORD
};

struct StoredValue {
    StoredKind kind = StoredKind::Other;
    std::string data;  // the raw bytes as stored
};

// Largest text a value may hold, in bytes with its terminator. Longer values
// read as the default and are refused on write, so that whatever is written
// can be read back and a hostile value cannot make the reader allocate
// without bound.
constexpr std::size_t kMaxProfileTextBytes = 64 * 1024;

inline bool FitsProfileText(std::string_view text)
{
    return text.size() < kMaxProfileTextBytes;
}

// A 32-bit value is exactly four bytes, least significant first. Other sizes
// (a REG_DWORD written with a short or long buffer) read as the default.
inline int IntFromStoredValue(const std::optional<StoredValue>& value, int defaultValue)
{
    if (!value || value->kind != StoredKind::Dword || value->data.size() != 4) {
        return defaultValue;
    }
    std::uint32_t bits = 0;
    for (std::size_t i = 4; i-- > 0;) {
        bits = (bits << 8) | static_cast<unsigned char>(value->data[i]);
    }
    std::int32_t signedBits = 0;
    std::memcpy(&signedBits, &bits, sizeof signedBits);
    return signedBits;
}

// A string value may or may not carry its terminating NUL (the registry
// stores whatever length the writer gave); the text ends at the first NUL or
// at the end of the data.
inline std::string TextFromStoredValue(const std::optional<StoredValue>& value, const std::string& defaultValue)
{
    if (!value || value->kind != StoredKind::Text || value->data.size() > kMaxProfileTextBytes) {
        return defaultValue;
    }
    const std::size_t end = value->data.find('\0');
    return value->data.substr(0, end);
}

// The key below the current user's hive that holds one section:
// "Software\<company>\<application>\<section>", or the application key itself
// for an empty section. Without a company or application name there is no
// key of the program's own, so nothing is read or written (nullopt).
inline std::optional<std::string> ProfileKeyPath(std::string_view company, std::string_view application,
                                                 std::string_view section)
{
    if (company.empty() || application.empty()) {
        return std::nullopt;
    }
    std::string path = "Software\\";
    path.append(company).append("\\").append(application);
    if (!section.empty()) {
        path.append("\\").append(section);
    }
    return path;
}
