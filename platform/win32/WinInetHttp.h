#pragma once

#include <atomic>
#include <string>

#include "platform/Http.h"

// IHttpClient over WinINet in its blocking mode, for the update worker's own
// thread. It only moves bytes: the answer's status and length decide whether
// a transfer succeeded, the caller decides everything else.
//
// A worker must be able to end soon after it is asked to (the main window
// waits for it at exit). Every connect, send and receive therefore gives up
// after the time-out, and a transfer stops between two pieces once the stop
// flag is set. A stalled server thus holds the worker for one time-out at
// most; one that keeps sending for a piece at most.
class WinInetHttp final : public IHttpClient {
public:
    WinInetHttp(std::string agent, unsigned long timeoutMs, const std::atomic<bool>& stopRequested);
    ~WinInetHttp() override;
    WinInetHttp(const WinInetHttp&) = delete;
    WinInetHttp& operator=(const WinInetHttp&) = delete;

    // Only "GET" is offered.
    bool Open(const std::string& url, const std::string& verb) override;
    bool ReadBody(std::size_t maxBytes, std::string& body) override;
    bool DownloadFile(const std::string& url, const std::string& localPath) override;
    void Close() override;

private:
    std::string agent;
    unsigned long timeoutMs;
    const std::atomic<bool>& stopRequested;
    void* session = nullptr;  // HINTERNET of InternetOpen
    void* page = nullptr;     // HINTERNET of the page Open fetched
};
