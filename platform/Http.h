#pragma once

#include <cstddef>
#include <string>

// The HTTP client of the update check: the three operations of the classic
// CHttp class (Open, DownloadFile, Close) plus the reading of the page that
// Open fetched. An object serves one thread and one Open at a time; no
// operation throws.
class IHttpClient {
public:
    virtual ~IHttpClient() = default;
    // Requests the page at `url` with `verb`; true when the server answered
    // with success (200) and the body can be read.
    virtual bool Open(const std::string& url, const std::string& verb) = 0;
    // Reads the body of the opened page into `body`, at most `maxBytes` of
    // it; a longer body is cut there and the rest is never fetched. False
    // when the transfer failed part-way.
    virtual bool ReadBody(std::size_t maxBytes, std::string& body) = 0;
    // Fetches `url` into the file `localPath` (created, or truncated when it
    // exists). True only when the server answered with success and the
    // whole body is on disk; after a failure the file may hold part of it.
    // Only between a successful Open and Close.
    virtual bool DownloadFile(const std::string& url, const std::string& localPath) = 0;
    // Ends what Open started; only after a successful Open.
    virtual void Close() = 0;
};
