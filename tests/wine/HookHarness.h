// Helpers for the hook library's end-to-end tests: a HookProbe standing in
// for the main window (it installs Wendle's hooks and logs every report), and
// TestBrowser copies run under the program names Wendle watches.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/WineTest.h"

namespace hooktest {

// Frame style of Internet Explorer (checked on Wine's own iexplore.exe): the
// system-menu bit 0x00080000 is set.
inline constexpr const char* kFrameStyle = "0x16CF0000";
// The same without the system-menu bit.
inline constexpr const char* kNoSystemMenuStyle = "0x16C70000";
// WS_CHILD | WS_VISIBLE.
inline constexpr const char* kChildStyle = "0x50000000";

// One line of the probe's log: "new" or "kill", the window in lParam and the
// tick at which the report arrived.
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
    int sysCloses = 0;   // WM_SYSCOMMAND/SC_CLOSE received
    int closes = 0;      // WM_CLOSE received
    DWORD firstClose = 0;  // tick of the first of them, 0 when none came
    DWORD style = 0;
};

class HookProbe {
public:
    // Starts HookProbe with the program folder's Wendle.dll and waits for its
    // "ready" line. logName is a file name inside TestDir().
    bool Start(const std::string& logName, DWORD lifetimeMs = 120000);
    // Posts WM_CLOSE to the probe's window and waits for the process to end.
    bool Close();
    std::vector<Report> Reports() const;
    HWND Window() const { return window; }

private:
    winetest::Process process;
    std::string logPath;
    HWND window = nullptr;
};

// Copies TestBrowser.exe into TestDir() under fileName (once) and returns the
// copy's path, or "" on failure.
std::string BrowserCopy(const std::string& fileName);

// A TestBrowser script: one argument per call, quoted when needed.
class Script {
public:
    Script& Create(const std::string& name, const std::string& className, const std::string& style,
                   const std::string& title, const std::string& parent = "-");
    Script& Frame(const std::string& name) { return Create(name, "IEFrame", kFrameStyle, name); }
    Script& Key(const std::string& keys);
    // Holds a key ("ctrl") down until Release.
    Script& Press(const std::string& key);
    Script& Release(const std::string& key);
    Script& Wait(DWORD ms);
    Script& Hold(const std::string& name, DWORD ms);
    const std::string& Text() const { return text; }

private:
    Script& Add(const std::string& argument);
    std::string text;
};

// The browser copy's process while it runs its script.
class Browser {
public:
    // Starts the copy named fileName (see BrowserCopy) with the script;
    // outName is the output file inside TestDir().
    bool Start(const std::string& fileName, const Script& script, const std::string& outName);
    // Waits for the end and reads the output; false on time-out or failure.
    bool Finish(std::vector<BrowserWindow>& windows, DWORD timeoutMs = 20000);

private:
    winetest::Process process;
    std::string outPath;
};

// Start, then Finish: the whole script in one call.
bool RunBrowser(const std::string& fileName, const Script& script, std::vector<BrowserWindow>& windows);

// The window named name in a browser's output, or 0.
unsigned long long HandleOf(const std::vector<BrowserWindow>& windows, const std::string& name);
DWORD CreatedTickOf(const std::vector<BrowserWindow>& windows, const std::string& name);

// Reports of one kind ("new" or "kill") about window, from reports[first..].
std::vector<Report> ReportsAbout(const std::vector<Report>& reports, size_t first, const std::string& kind,
                                 unsigned long long window);
// The windows named in kill reports from reports[first..], in order.
std::vector<unsigned long long> KilledWindows(const std::vector<Report>& reports, size_t first);

}  // namespace hooktest
