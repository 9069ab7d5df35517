// <windows.h> comes before the profile interface, which drops the win.ini
// macros GetProfileInt, GetProfileString and WriteProfileString.
#include <windows.h>

#include "platform/win32/Win32Profile.h"

#include <cstring>
#include <utility>

namespace {

class ScopedKey {
public:
    ScopedKey() = default;
    ~ScopedKey()
    {
        if (key != nullptr) {
            RegCloseKey(key);
        }
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;

    HKEY Get() const { return key; }
    HKEY* Out() { return &key; }

private:
    HKEY key = nullptr;
};

StoredKind KindOf(DWORD type)
{
    switch (type) {
    case REG_DWORD:
        return StoredKind::Dword;
    case REG_SZ:
        return StoredKind::Text;
    default:
        return StoredKind::Other;
    }
}

// A value may change size between the size query and the read (another
// program writes it); ERROR_MORE_DATA then asks for a new size. A few rounds
// are enough for a value that is not rewritten without pause.
constexpr int kReadAttempts = 3;

std::optional<StoredValue> QueryValue(HKEY key, const char* entry)
{
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        if (size > kMaxProfileTextBytes) {
            return StoredValue{StoredKind::Other, {}};
        }
        std::string data(size, '\0');
        const LONG status = RegQueryValueExA(key, entry, nullptr, &type,
                                             reinterpret_cast<BYTE*>(data.data()), &size);
        if (status == ERROR_MORE_DATA) {
            continue;
        }
        if (status != ERROR_SUCCESS) {
            return std::nullopt;
        }
        data.resize(size);
        return StoredValue{KindOf(type), std::move(data)};
    }
    return std::nullopt;
}

}  // namespace

Win32Profile::Win32Profile(std::string companyName, std::string applicationName)
    : company(std::move(companyName)), application(std::move(applicationName))
{
}

std::optional<StoredValue> Win32Profile::Read(const std::string& section, const std::string& entry) const
{
    const std::optional<std::string> path = ProfileKeyPath(company, application, section);
    if (!path) {
        return std::nullopt;
    }
    ScopedKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path->c_str(), 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return QueryValue(key.Get(), entry.c_str());
}

bool Win32Profile::Write(const std::string& section, const std::string& entry, unsigned long type,
                         const void* data, unsigned long size)
{
    const std::optional<std::string> path = ProfileKeyPath(company, application, section);
    if (!path) {
        return false;
    }
    ScopedKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, key.Out(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return RegSetValueExA(key.Get(), entry.c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

int Win32Profile::GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const
{
    return IntFromStoredValue(Read(section, entry), defaultValue);
}

bool Win32Profile::WriteProfileInt(const std::string& section, const std::string& entry, int value)
{
    DWORD bits = 0;
    static_assert(sizeof bits == sizeof value, "REG_DWORD holds an int");
    std::memcpy(&bits, &value, sizeof bits);
    return Write(section, entry, REG_DWORD, &bits, sizeof bits);
}

std::string Win32Profile::GetProfileString(const std::string& section, const std::string& entry,
                                           const std::string& defaultValue) const
{
    return TextFromStoredValue(Read(section, entry), defaultValue);
}

bool Win32Profile::WriteProfileString(const std::string& section, const std::string& entry,
                                      const std::string& value)
{
    // A REG_SZ ends at its first NUL for every reader, so only that much is
    // stored, with the terminator counted in the size.
    const std::size_t length = std::strlen(value.c_str());
    if (!FitsProfileText(std::string_view(value.c_str(), length))) {
        return false;
    }
    return Write(section, entry, REG_SZ, value.c_str(), static_cast<DWORD>(length + 1));
}
