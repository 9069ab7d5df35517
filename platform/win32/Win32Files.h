#pragma once

#include "platform/Files.h"

// IFileStore over the Win32 file functions (ANSI paths). Files are opened
// with share mode 0, as the list files are meant to be held exclusively for
// the short time of one operation.
class Win32FileStore final : public IFileStore {
public:
    std::unique_ptr<IReadableFile> OpenForRead(const std::string& path) override;
    bool Exists(const std::string& path) override;
    std::unique_ptr<IWritableFile> CreateForWrite(const std::string& path) override;
    bool MoveReplacing(const std::string& source, const std::string& target) override;
    bool Remove(const std::string& path) override;
};

// IFolders over GetFileAttributesA and CreateDirectoryA.
class Win32Folders final : public IFolders {
public:
    bool Exists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
};

// IFolderListing over FindFirstFileA and FindNextFileA.
class Win32FolderListing final : public IFolderListing {
public:
    std::vector<std::string> FileNames(const std::string& folder) override;
};
