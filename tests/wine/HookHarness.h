// TestBrowser copies under watched program names; a HookProbe as the main window.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "support/WineTest.h"

namespace hooktest {

// Internet Explorer's frame (as Wine's iexplore.exe), the same without the
// system menu, and WS_CHILD | WS_VISIBLE.
inline constexpr const char* kFrameStyle = "0x16CF0000";
inline constexpr const char* kNoSystemMenuStyle = "0x16C70000";
inline constexpr const char* kChildStyle = "0x50000000";

// A report the probe got: "new" or "kill", the window and the tick taken.
struct Report {
    std::string kind;
    unsigned long long window = 0;
    DWORD tick = 0;
};

// One line of TestBrowser's output file.
struct BrowserWindow {
    std::string name;
    unsigned long long hwnd = 0;
    DWORD created = 0;
    int sysCloses = 0;      // WM_SYSCOMMAND/SC_CLOSE received
    int closes = 0;         // WM_CLOSE received
    DWORD firstClose = 0;   // tick of the first of them, 0 when none came
    int timerMessages = 0;  // WM_TIMER taken off the queue for it
    DWORD style = 0;
};
using Windows = std::vector<BrowserWindow>;

// A "Tarnelix 3.0" window here that installs the hooks and records reports while
// this thread pumps. One at a time.
class HookProbe {
public:
    HookProbe();
    ~HookProbe();
    bool Started() const { return window != nullptr; }
    const std::vector<Report>& Reports() const;

private:
    HMODULE wendle = nullptr;
    HWND window = nullptr;
};

// A TestBrowser script: one argument per call, quoted when needed.
class Script {
public:
    Script& Create(const std::string& name, const std::string& className, const std::string& style,
                   const std::string& title, const std::string& parent = "-") {
        return Add({"create", name, className, style, title, parent});
    }
    Script& Frame(const std::string& name) { return Create(name, "IEFrame", kFrameStyle, name); }
    Script& Key(const std::string& keys) { return Add({"key", keys}); }
    Script& Press(const std::string& keys) { return Add({"press", keys}); }
    Script& Release(const std::string& keys) { return Add({"release", keys}); }
    Script& Click() { return Add({"click"}); }
    Script& Helpers(DWORD count, DWORD period) { return Add({"helpers", std::to_string(count), std::to_string(period)}); }
    Script& Wait(DWORD ms) { return Add({"wait", std::to_string(ms)}); }
    Script& Hold(const std::string& name, DWORD ms) { return Add({"hold", name, std::to_string(ms)}); }
    Script& Flood(const std::string& name, DWORD period, DWORD ms) {
        return Add({"flood", name, std::to_string(period), std::to_string(ms)});
    }
    Script& OwnedWait(const std::string& owner) { return Add({"ownedwait", owner}); }
    Script& Stall(DWORD ms) { return Add({"stall", std::to_string(ms)}); }
    Script& Unload() { return Add({"unload"}); }
    Script& Soak(int rounds, int moves) { return Add({"soak", std::to_string(rounds), std::to_string(moves)}); }
    const std::string& Text() const { return text; }

private:
    Script& Add(const std::vector<std::string>& arguments);
    std::string text;
};

// A TestBrowser copy's process while it runs its script.
class Browser {
public:
    // Starts TestDir()\fileName, a copy of TestBrowser.exe, writing TestDir()\outName.
    bool Start(const std::string& fileName, const Script& script, const std::string& outName);
    // Pumps until a clean end and reads the output; false on time-out, crash or failure.
    bool Finish(Windows& windows, DWORD timeoutMs = 20000);

private:
    winetest::Process process;
    std::string outPath;
};

// Start, then Finish: the whole script in one call.
bool RunBrowser(const std::string& fileName, const Script& script, Windows& windows);

// The window named name in a browser's output; a test fails on null.
const BrowserWindow* Find(const Windows& windows, const std::string& name);
// Reports of one kind from reports[first..], about window (0: any).
std::vector<Report> ReportsOf(const std::vector<Report>& reports, size_t first, const std::string& kind,
                              unsigned long long window = 0);

}  // namespace hooktest
