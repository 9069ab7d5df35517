#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>

#include "platform/Files.h"

// IFileStore on the real disk through the standard library, for the
// benchmarks that want real files. It does not lock files: standard
// streams have no share modes.
class DiskFileStore final : public IFileStore {
public:
    std::unique_ptr<IReadableFile> OpenForRead(const std::string& path) override
    {
        auto file = std::make_unique<Reader>(path);
        return file->IsOpen() ? std::move(file) : nullptr;
    }

    std::unique_ptr<IWritableFile> CreateForWrite(const std::string& path) override
    {
        auto file = std::make_unique<Writer>(path);
        return file->IsOpen() ? std::move(file) : nullptr;
    }

    bool Exists(const std::string& path) override
    {
        std::error_code error;
        return std::filesystem::exists(path, error);
    }

    bool MoveReplacing(const std::string& source, const std::string& target) override
    {
        std::error_code error;
        std::filesystem::rename(source, target, error);
        if (!error) {
            return true;
        }
        // Some C runtimes on Windows refuse to rename onto an existing file.
        std::filesystem::remove(target, error);
        std::filesystem::rename(source, target, error);
        return !error;
    }

    bool Remove(const std::string& path) override
    {
        std::error_code error;
        return std::filesystem::remove(path, error);
    }

private:
    class Reader final : public IReadableFile {
    public:
        explicit Reader(const std::string& path) : stream(path, std::ios::binary) {}
        bool IsOpen() const { return stream.is_open(); }

        bool Read(char* buffer, std::size_t capacity, std::size_t& bytesRead) override
        {
            stream.read(buffer, static_cast<std::streamsize>(capacity));
            bytesRead = static_cast<std::size_t>(stream.gcount());
            return !stream.bad();
        }

    private:
        std::ifstream stream;
    };

    class Writer final : public IWritableFile {
    public:
        explicit Writer(const std::string& path) : stream(path, std::ios::binary | std::ios::trunc) {}
        bool IsOpen() const { return stream.is_open(); }

        bool Write(const char* data, std::size_t size) override
        {
            stream.write(data, static_cast<std::streamsize>(size));
            return stream.good();
        }

        bool Flush() override { return stream.flush().good(); }

        bool Close() override
        {
            stream.close();
            return !stream.fail();
        }

    private:
        std::ofstream stream;
    };
};
