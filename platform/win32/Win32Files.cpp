#include "platform/win32/Win32Files.h"

#include <windows.h>

namespace {

// Largest piece handed to one ReadFile or WriteFile call: their counts are
// 32-bit, and a 64-bit size_t must not wrap.
constexpr std::size_t kMaxTransfer = 1u << 30;

DWORD TransferSize(std::size_t size)
{
    return static_cast<DWORD>(size < kMaxTransfer ? size : kMaxTransfer);
}

class Win32Handle {
public:
    explicit Win32Handle(HANDLE h) : handle(h) {}
    ~Win32Handle() { Close(); }
    Win32Handle(const Win32Handle&) = delete;
    Win32Handle& operator=(const Win32Handle&) = delete;

    HANDLE Get() const { return handle; }
    bool Close()
    {
        if (handle == INVALID_HANDLE_VALUE) {
            return true;
        }
        const BOOL closed = CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE handle;
};

class Win32ReadableFile final : public IReadableFile {
public:
    explicit Win32ReadableFile(HANDLE h) : file(h) {}

    bool Read(char* buffer, std::size_t capacity, std::size_t& bytesRead) override
    {
        DWORD got = 0;
        const BOOL ok = ReadFile(file.Get(), buffer, TransferSize(capacity), &got, nullptr);
        bytesRead = ok ? got : 0;
        return ok != FALSE;
    }

private:
    Win32Handle file;
};

class Win32WritableFile final : public IWritableFile {
public:
    explicit Win32WritableFile(HANDLE h) : file(h) {}

    bool Write(const char* data, std::size_t size) override
    {
        while (size > 0) {
            DWORD written = 0;
            if (!WriteFile(file.Get(), data, TransferSize(size), &written, nullptr) || written == 0) {
                return false;
            }
            data += written;
            size -= written;
        }
        return true;
    }

    bool Flush() override { return FlushFileBuffers(file.Get()) != FALSE; }
    bool Close() override { return file.Close(); }

private:
    Win32Handle file;
};

}  // namespace

std::unique_ptr<IReadableFile> Win32FileStore::OpenForRead(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return std::make_unique<Win32ReadableFile>(h);
}

bool Win32FileStore::Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::unique_ptr<IWritableFile> Win32FileStore::CreateForWrite(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return std::make_unique<Win32WritableFile>(h);
}

bool Win32FileStore::MoveReplacing(const std::string& source, const std::string& target)
{
    if (MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
        return false;
    }
    // Windows 95, 98 and Me have no MoveFileEx. Deleting first leaves a short
    // window without the target, but the complete new content is still in
    // `source` then, never a half-written target.
    if (!DeleteFileA(target.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
        return false;
    }
    return MoveFileA(source.c_str(), target.c_str()) != FALSE;
}

bool Win32FileStore::Remove(const std::string& path)
{
    return DeleteFileA(path.c_str()) != FALSE;
}

bool Win32Folders::Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32Folders::CreateFolder(const std::string& path)
{
    if (CreateDirectoryA(path.c_str(), nullptr)) {
        return true;
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::string> Win32FolderListing::FileNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.emplace_back(found.cFileName);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}
