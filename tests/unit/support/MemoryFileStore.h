#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Files.h"

// In-memory IFileStore that behaves like the Win32 adapter: bytes written
// show up in the file at once, files are opened without sharing (a second
// open, a move or a delete of an open file fails), and a rename replaces the
// target in one step. Tests switch on failures to see what a save leaves
// behind when the disk, a lock or a rename lets it down half-way.
class MemoryFileStore final : public IFileStore {
public:
    // Files by path.
    std::map<std::string, std::string> files;

    // Failures to inject.
    std::set<std::string> unopenable;               // OpenForRead and CreateForWrite fail
    std::optional<std::size_t> failWriteAfterBytes;  // per file: bytes accepted before writes fail
    std::optional<std::size_t> failReadAfterBytes;   // per file: bytes delivered before reads fail
    bool failFlush = false;
    bool failClose = false;
    bool failMove = false;

    // What happened.
    std::size_t largestWrite = 0;
    std::size_t largestRead = 0;
    std::vector<std::string> createdPaths;

    bool IsOpen(const std::string& path) const { return openPaths.count(path) != 0; }

    std::unique_ptr<IReadableFile> OpenForRead(const std::string& path) override
    {
        const auto found = files.find(path);
        if (found == files.end() || unopenable.count(path) != 0 || IsOpen(path)) {
            return nullptr;
        }
        return std::make_unique<Reader>(*this, path, found->second);
    }

    std::unique_ptr<IWritableFile> CreateForWrite(const std::string& path) override
    {
        if (unopenable.count(path) != 0 || IsOpen(path)) {
            return nullptr;
        }
        files[path].clear();
        createdPaths.push_back(path);
        return std::make_unique<Writer>(*this, path);
    }

    bool MoveReplacing(const std::string& source, const std::string& target) override
    {
        if (failMove || IsOpen(source) || IsOpen(target) || files.count(source) == 0) {
            return false;
        }
        files[target] = std::move(files[source]);
        files.erase(source);
        return true;
    }

    bool Remove(const std::string& path) override
    {
        if (IsOpen(path)) {
            return false;
        }
        return files.erase(path) != 0;
    }

private:
    class Reader final : public IReadableFile {
    public:
        Reader(MemoryFileStore& store, std::string path, std::string content)
            : store(store), path(std::move(path)), content(std::move(content))
        {
            store.openPaths.insert(this->path);
        }
        ~Reader() override { store.openPaths.erase(path); }

        bool Read(char* buffer, std::size_t capacity, std::size_t& bytesRead) override
        {
            bytesRead = 0;
            if (store.failReadAfterBytes && pos >= *store.failReadAfterBytes) {
                return false;
            }
            std::size_t limit = content.size();
            if (store.failReadAfterBytes) {
                limit = std::min(limit, *store.failReadAfterBytes);
            }
            bytesRead = std::min(capacity, limit - pos);
            content.copy(buffer, bytesRead, pos);
            pos += bytesRead;
            store.largestRead = std::max(store.largestRead, bytesRead);
            return true;
        }

    private:
        MemoryFileStore& store;
        std::string path;
        std::string content;
        std::size_t pos = 0;
    };

    class Writer final : public IWritableFile {
    public:
        Writer(MemoryFileStore& store, std::string path) : store(store), path(std::move(path))
        {
            store.openPaths.insert(this->path);
        }
        ~Writer() override { Close(); }

        bool Write(const char* data, std::size_t size) override
        {
            store.largestWrite = std::max(store.largestWrite, size);
            std::string& content = store.files[path];
            if (store.failWriteAfterBytes && content.size() + size > *store.failWriteAfterBytes) {
                // A full disk takes what fits and refuses the rest.
                const std::size_t room = *store.failWriteAfterBytes - std::min(content.size(), *store.failWriteAfterBytes);
                content.append(data, room);
                return false;
            }
            content.append(data, size);
            return true;
        }

        bool Flush() override { return !store.failFlush; }

        bool Close() override
        {
            if (!open) {
                return true;
            }
            open = false;
            store.openPaths.erase(path);
            return !store.failClose;
        }

    private:
        MemoryFileStore& store;
        std::string path;
        bool open = true;
    };

    std::set<std::string> openPaths;
};
