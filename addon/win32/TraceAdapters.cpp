#include "addon/win32/TraceAdapters.h"

#include <shellapi.h>
#include <urlhist.h>
#include <wininet.h>

namespace tarnelix {
namespace {

class Win32WipeTarget final : public IWipeTarget {
public:
    explicit Win32WipeTarget(HANDLE file) : file(file) {}
    ~Win32WipeTarget() override { CloseHandle(file); }
    Win32WipeTarget(const Win32WipeTarget&) = delete;
    Win32WipeTarget& operator=(const Win32WipeTarget&) = delete;

    std::uint64_t Size() override {
        DWORD high = 0;
        const DWORD low = GetFileSize(file, &high);
        if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
            return 0;
        }
        return (static_cast<std::uint64_t>(high) << 32) | low;
    }
    bool Seek(std::uint64_t offset) override {
        LONG high = static_cast<LONG>(offset >> 32);
        const DWORD low = SetFilePointer(file, static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN);
        return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
    }
    bool Write(const char* data, std::size_t size) override {
        DWORD written = 0;
        return WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    }

private:
    HANDLE file;
};

class Win32ValueKey final : public IValueKey {
public:
    explicit Win32ValueKey(HKEY key) : key(key) {}
    ~Win32ValueKey() override { RegCloseKey(key); }
    Win32ValueKey(const Win32ValueKey&) = delete;
    Win32ValueKey& operator=(const Win32ValueKey&) = delete;

    ValueRead FirstValueName(std::string& name) override {
        char buffer[kValueNameBufferSize] = {};
        DWORD length = sizeof buffer;
        const LONG result = RegEnumValueA(key, 0, buffer, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) {
            return ValueRead::NoMoreItems;
        }
        if (result != ERROR_SUCCESS) {
            return ValueRead::Failed;
        }
        name.assign(buffer, length < sizeof buffer ? length : sizeof buffer - 1);
        return ValueRead::Name;
    }
    bool RemoveValue(const std::string& name) override {
        return RegDeleteValueA(key, name.c_str()) == ERROR_SUCCESS;
    }

private:
    HKEY key;
};

CacheRead CacheReadFromError(DWORD error) {
    switch (error) {
    case ERROR_INSUFFICIENT_BUFFER: return CacheRead::BufferTooSmall;
    case ERROR_NO_MORE_ITEMS: return CacheRead::NoMoreEntries;
    default: return CacheRead::Failed;
    }
}

// The URL history object and the interface that clears it.
constexpr CLSID kUrlHistoryClass{0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
constexpr IID kUrlHistoryStg2{0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

}  // namespace

void Win32TraceFiles::ForEachEntry(const std::string& pattern,
                                   const std::function<void(const FolderEntry&)>& visit) {
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        FolderEntry entry;
        entry.name = data.cFileName;
        entry.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        visit(entry);
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

bool Win32TraceFiles::RemoveFolder(const std::string& path) {
    return RemoveDirectoryA(path.c_str()) != FALSE;
}

std::optional<std::uint32_t> Win32TraceFiles::ReadAttributes(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    return attributes;
}

bool Win32TraceFiles::WriteAttributes(const std::string& path, std::uint32_t attributes) {
    return SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

bool Win32TraceFiles::RemoveFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != FALSE;
}

std::unique_ptr<IWipeTarget> Win32TraceFiles::OpenForWipe(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return std::make_unique<Win32WipeTarget>(file);
}

Win32UrlCache::~Win32UrlCache() {
    CloseWalk();
}

CacheRead Win32UrlCache::FirstEntry(std::vector<unsigned char>& buffer, std::size_t& required) {
    CloseWalk();
    DWORD size = static_cast<DWORD>(buffer.size());
    walk = FindFirstUrlCacheEntryA(nullptr, reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data()), &size);
    if (walk != nullptr) {
        return CacheRead::Entry;
    }
    const DWORD error = GetLastError();
    required = size;
    return CacheReadFromError(error);
}

CacheRead Win32UrlCache::NextEntry(std::vector<unsigned char>& buffer, std::size_t& required) {
    DWORD size = static_cast<DWORD>(buffer.size());
    if (FindNextUrlCacheEntryA(walk, reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data()), &size)) {
        return CacheRead::Entry;
    }
    const DWORD error = GetLastError();
    required = size;
    return CacheReadFromError(error);
}

CacheEntry Win32UrlCache::EntryIn(const std::vector<unsigned char>& buffer) const {
    const auto* info = reinterpret_cast<const INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
    CacheEntry entry;
    if (info->lpszSourceUrlName != nullptr) {
        entry.sourceUrlName = info->lpszSourceUrlName;
    }
    entry.type = info->CacheEntryType;
    return entry;
}

void Win32UrlCache::CloseWalk() {
    if (walk != nullptr) {
        FindCloseUrlCache(walk);
        walk = nullptr;
    }
}

bool Win32UrlCache::RemoveEntry(const std::string& sourceUrlName) {
    return DeleteUrlCacheEntryA(sourceUrlName.c_str()) != FALSE;
}

std::unique_ptr<IValueKey> Win32TraceRegistry::OpenUserKey(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE | KEY_WRITE, &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<Win32ValueKey>(key);
}

void Win32SystemTraces::ClearHistoryStore() {
    IUrlHistoryStg2* history = nullptr;
    if (SUCCEEDED(CoCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER, kUrlHistoryStg2,
                                   reinterpret_cast<void**>(&history))) &&
        history != nullptr) {
        history->ClearHistory();
        history->Release();
    }
}

void Win32SystemTraces::ClearClipboard() {
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

void Win32SystemTraces::EmptyRecycleBin() {
    SHEmptyRecycleBinA(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
}

}  // namespace tarnelix
