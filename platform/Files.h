#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// The few file operations the list files need, so that the reading and saving
// rules can run against an in-memory store in the tests. Paths are byte
// strings in the system's ANSI code page. Every file is opened without
// sharing: while one of these objects is alive nobody else may open the file.
// No operation throws; failures come back as false or nullptr.

class IReadableFile {
public:
    virtual ~IReadableFile() = default;
    // Reads up to `capacity` bytes. Returns false on a read error; at the end
    // of the file it returns true with bytesRead == 0.
    virtual bool Read(char* buffer, std::size_t capacity, std::size_t& bytesRead) = 0;
};

class IWritableFile {
public:
    // Closes the file if Close was not called; a failure there goes unseen.
    virtual ~IWritableFile() = default;
    // Writes all `size` bytes or returns false.
    virtual bool Write(const char* data, std::size_t size) = 0;
    // Pushes what was written down to the disk, so that a rename that
    // follows cannot reach the disk before the data does.
    virtual bool Flush() = 0;
    // Releases the file; the object may only be destroyed afterwards.
    virtual bool Close() = 0;
};

class IFileStore {
public:
    virtual ~IFileStore() = default;
    // nullptr when the file is missing, locked or not readable.
    virtual std::unique_ptr<IReadableFile> OpenForRead(const std::string& path) = 0;
    // Creates the file, or truncates it when it exists; nullptr on failure.
    virtual std::unique_ptr<IWritableFile> CreateForWrite(const std::string& path) = 0;
    // Renames `source` to `target` in one step, replacing an existing
    // target; both must be closed and in the same folder.
    virtual bool MoveReplacing(const std::string& source, const std::string& target) = 0;
    // Deletes the file; false when it could not be deleted or did not exist.
    virtual bool Remove(const std::string& path) = 0;
    // True when something of that name exists (a file, or a folder in its
    // place): a file that cannot be opened is then unreadable, not missing.
    virtual bool Exists(const std::string& path) = 0;
};

// What the update check asks of the folders beside the whole-file operations
// above: whether a path exists and making a folder.
class IFolders {
public:
    virtual ~IFolders() = default;
    // True when a file or folder of that path exists.
    virtual bool Exists(const std::string& path) = 0;
    // Creates the folder (the path may end in a backslash); true when it
    // exists afterwards.
    virtual bool CreateFolder(const std::string& path) = 0;
};

// The names of the files (not folders) directly in a folder, in the order the
// system lists them; empty when the folder is missing or unreadable.
class IFolderListing {
public:
    virtual ~IFolderListing() = default;
    virtual std::vector<std::string> FileNames(const std::string& folder) = 0;
};
