#include <windows.h>
#include <wininet.h>

#include "platform/win32/WinInetHttp.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

#include "platform/win32/Win32Files.h"

namespace {

// Always from the server: a cached listing would hide every change.
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                                INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
constexpr DWORD kPieceBytes = 8192;

enum class Piece { More, Enough, Failed };

void CloseInternetHandle(void*& handle)
{
    if (handle != nullptr) {
        InternetCloseHandle(handle);
        handle = nullptr;
    }
}

// The request, when the server answered 200; otherwise null.
HINTERNET Request(HINTERNET session, const std::string& url)
{
    HINTERNET request = InternetOpenUrlA(session, url.c_str(), nullptr, 0, kRequestFlags, 0);
    if (request == nullptr) {
        return nullptr;
    }
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        status != HTTP_STATUS_OK) {
        InternetCloseHandle(request);
        return nullptr;
    }
    return request;
}

// The length the server announced, or -1 (chunked, or until the close).
long long AnnouncedLength(HINTERNET request)
{
    char text[32] = {};
    DWORD size = sizeof(text) - 1;
    if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) {
        return -1;
    }
    char* end = nullptr;
    const unsigned long long length = std::strtoull(text, &end, 10);
    return end != text ? static_cast<long long>(length) : -1;
}

// Hands the body to `take` piece by piece until the body ends or `take`
// has enough. False on a transfer error, a stop request, a piece `take`
// refused, or a body shorter than announced: WinINet ends a connection that
// dropped half-way like a complete body.
template <typename Take>
bool ReadPieces(HINTERNET request, const std::atomic<bool>& stopRequested, Take&& take)
{
    const long long announced = AnnouncedLength(request);
    long long received = 0;
    char piece[kPieceBytes];
    for (;;) {
        DWORD got = 0;
        if (stopRequested.load() || !InternetReadFile(request, piece, kPieceBytes, &got)) {
            return false;
        }
        if (got == 0) {
            return announced < 0 || received == announced;
        }
        received += got;
        const Piece next = take(piece, got);
        if (next != Piece::More) {
            return next == Piece::Enough;
        }
    }
}

}  // namespace

WinInetHttp::WinInetHttp(std::string agent, unsigned long timeoutMs, const std::atomic<bool>& stopRequested)
    : agent(std::move(agent)), timeoutMs(timeoutMs), stopRequested(stopRequested)
{
}

WinInetHttp::~WinInetHttp()
{
    Close();
}

bool WinInetHttp::Open(const std::string& url, const std::string& verb)
{
    Close();
    if (verb != "GET" || stopRequested.load()) {
        return false;
    }
    session = InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (session == nullptr) {
        return false;
    }
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        DWORD value = timeoutMs;
        InternetSetOptionA(session, option, &value, sizeof(value));
    }
    page = Request(session, url);
    if (page == nullptr) {
        Close();
        return false;
    }
    return true;
}

bool WinInetHttp::ReadBody(std::size_t maxBytes, std::string& body)
{
    body.clear();
    if (page == nullptr) {
        return false;
    }
    return ReadPieces(page, stopRequested, [&](const char* data, DWORD size) {
        body.append(data, std::min<std::size_t>(size, maxBytes - body.size()));
        return body.size() < maxBytes ? Piece::More : Piece::Enough;
    });
}

bool WinInetHttp::DownloadFile(const std::string& url, const std::string& localPath)
{
    if (session == nullptr || stopRequested.load()) {
        return false;
    }
    HINTERNET request = Request(session, url);
    if (request == nullptr) {
        return false;
    }
    Win32FileStore disk;
    std::unique_ptr<IWritableFile> file = disk.CreateForWrite(localPath);
    bool complete = file != nullptr && ReadPieces(request, stopRequested, [&](const char* data, DWORD size) {
        return file->Write(data, size) ? Piece::More : Piece::Failed;
    });
    InternetCloseHandle(request);
    if (file != nullptr) {
        // The caller renames the file once it is complete; its data must
        // reach the disk before the new name does.
        complete = complete && file->Flush();
        complete = file->Close() && complete;
    }
    return complete;
}

void WinInetHttp::Close()
{
    CloseInternetHandle(page);
    CloseInternetHandle(session);
}
