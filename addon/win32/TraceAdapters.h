// The trace cleaners' interfaces over the Win32 calls that do the work:
// find-first/find-next, RemoveDirectoryA, the attribute and delete calls,
// CreateFileA/WriteFile for the wipe, the WinINet URL cache, the registry,
// the URL history object, the clipboard and the recycle bin. No decisions.
#pragma once
#include <windows.h>

#include "addon/core/TraceCleaner.h"

namespace tarnelix {

class Win32TraceFiles final : public ITraceFiles {
public:
    void ForEachEntry(const std::string& pattern, const std::function<void(const FolderEntry&)>& visit) override;
    bool RemoveFolder(const std::string& path) override;
    std::optional<std::uint32_t> ReadAttributes(const std::string& path) override;
    bool WriteAttributes(const std::string& path, std::uint32_t attributes) override;
    bool RemoveFile(const std::string& path) override;
    std::unique_ptr<IWipeTarget> OpenForWipe(const std::string& path) override;
};

class Win32UrlCache final : public IUrlCache {
public:
    ~Win32UrlCache() override;
    CacheRead FirstEntry(std::vector<unsigned char>& buffer, std::size_t& required) override;
    CacheRead NextEntry(std::vector<unsigned char>& buffer, std::size_t& required) override;
    CacheEntry EntryIn(const std::vector<unsigned char>& buffer) const override;
    void CloseWalk() override;
    bool RemoveEntry(const std::string& sourceUrlName) override;

private:
    HANDLE walk = nullptr;
};

class Win32TraceRegistry final : public ITraceRegistry {
public:
    std::unique_ptr<IValueKey> OpenUserKey(const std::string& path) override;
};

class Win32SystemTraces final : public ISystemTraces {
public:
    // The clipboard is opened for this window.
    explicit Win32SystemTraces(HWND owner) : owner(owner) {}
    void ClearHistoryStore() override;
    void ClearClipboard() override;
    void EmptyRecycleBin() override;

private:
    HWND owner;
};

}  // namespace tarnelix
