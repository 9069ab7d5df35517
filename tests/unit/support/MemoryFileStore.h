#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Files.h"

// In-memory IFileStore like the Win32 adapter: files open without sharing,
// a rename replaces in one step, and failures can be switched on.
class MemoryFileStore final : public IFileStore {
public:
    std::map<std::string, std::string> files;  // by path

    // Failures to inject.
    std::set<std::string> unopenable;               // OpenForRead and CreateForWrite fail
    std::optional<std::size_t> failWriteAfterBytes;  // per file: bytes accepted before writes fail
    std::optional<std::size_t> failReadAfterBytes;   // per file: bytes delivered before reads fail
    bool failFlush = false;
    bool failClose = false;
    bool failMove = false;

    std::vector<std::string> createdPaths;

    bool IsOpen(const std::string& path) const { return openPaths.count(path) != 0; }

    std::unique_ptr<IReadableFile> OpenForRead(const std::string& path) override
    {
        if (files.count(path) == 0 || !Lock(path)) {
            return nullptr;
        }
        return std::make_unique<Reader>(*this, path);
    }

    std::unique_ptr<IWritableFile> CreateForWrite(const std::string& path) override
    {
        if (!Lock(path)) {
            return nullptr;
        }
        files[path].clear();
        createdPaths.push_back(path);
        return std::make_unique<Writer>(*this, path);
    }

    bool Exists(const std::string& path) override { return files.count(path) != 0; }

    bool MoveReplacing(const std::string& source, const std::string& target) override
    {
        if (failMove || IsOpen(source) || IsOpen(target) || files.count(source) == 0) {
            return false;
        }
        files[target] = std::move(files[source]);
        files.erase(source);
        return true;
    }

    bool Remove(const std::string& path) override { return !IsOpen(path) && files.erase(path) != 0; }

private:
    bool Lock(const std::string& path) { return unopenable.count(path) == 0 && openPaths.insert(path).second; }

    // An open file: holds its path locked until closed or destroyed.
    struct OpenFile {
        OpenFile(MemoryFileStore& store, std::string path) : store(store), path(std::move(path)) {}
        ~OpenFile() { Unlock(); }
        void Unlock()
        {
            if (locked) {
                store.openPaths.erase(path);
                locked = false;
            }
        }

        MemoryFileStore& store;
        std::string path;
        bool locked = true;
    };

    class Reader final : public IReadableFile, OpenFile {
    public:
        Reader(MemoryFileStore& store, const std::string& path) : OpenFile(store, path), content(store.files[path]) {}

        bool Read(char* buffer, std::size_t capacity, std::size_t& bytesRead) override
        {
            const std::size_t limit = std::min(content.size(), store.failReadAfterBytes.value_or(SIZE_MAX));
            bytesRead = std::min(capacity, limit - pos);
            content.copy(buffer, bytesRead, pos);
            pos += bytesRead;
            return bytesRead > 0 || limit == content.size();
        }

    private:
        std::string content;
        std::size_t pos = 0;
    };

    class Writer final : public IWritableFile, OpenFile {
    public:
        using OpenFile::OpenFile;

        bool Write(const char* data, std::size_t size) override
        {
            // A full disk takes what fits and refuses the rest.
            std::string& content = store.files[path];
            const std::size_t capacity = store.failWriteAfterBytes.value_or(SIZE_MAX);
            const std::size_t room = capacity - std::min(content.size(), capacity);
            content.append(data, std::min(size, room));
            return size <= room;
        }
        bool Flush() override { return !store.failFlush; }
        bool Close() override
        {
            Unlock();
            return !store.failClose;
        }
    };

    std::set<std::string> openPaths;
};
