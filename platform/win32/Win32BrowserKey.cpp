#include <windows.h>

#include "platform/win32/Win32BrowserKey.h"

namespace {

constexpr char kBrowserMainKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Main\\";
// The value is read into 1024 bytes, of which at most 1023 are asked for, so
// the text always ends inside the buffer.
constexpr DWORD kValueBufferBytes = 1024;

}  // namespace

std::optional<std::string> Win32BrowserKey::ReadString(const char* name) const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kBrowserMainKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    char buffer[kValueBufferBytes] = {};
    DWORD type = 0;
    DWORD size = kValueBufferBytes - 1;
    const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    // A value of another type would hand its raw bytes on as text.
    if (result != ERROR_SUCCESS || type != REG_SZ || size > kValueBufferBytes - 1) {
        return std::nullopt;
    }
    return std::string(buffer, strnlen(buffer, size));
}

bool Win32BrowserKey::WriteString(const char* name, const std::string& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kBrowserMainKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    const LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
