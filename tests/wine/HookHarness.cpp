#include "HookHarness.h"

#include <fstream>
#include <sstream>

namespace hooktest {
namespace {

using winetest::TestDir;
using winetest::ToolsDir;

std::string Quoted(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
        return argument;
    }
    return "\"" + argument + "\"";
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

// "ready HWND TICK" from the probe's log, or null while it is not there yet.
HWND ReadyWindow(const std::string& logPath) {
    for (const std::string& line : ReadLines(logPath)) {
        std::istringstream fields(line);
        std::string kind;
        unsigned long long window = 0;
        if (fields >> kind >> window && kind == "ready") {
            return reinterpret_cast<HWND>(static_cast<UINT_PTR>(window));
        }
    }
    return nullptr;
}

// "NAME hwnd=H created=T sysclose=N close=N destroyed=D firstclose=T style=S"
// → the window's fields; the first three must be there, in that order.
bool ParseBrowserLine(const std::string& line, BrowserWindow& window) {
    std::istringstream fields(line);
    std::string hwnd;
    std::string created;
    if (!(fields >> window.name >> hwnd >> created) || hwnd.rfind("hwnd=", 0) != 0 ||
        created.rfind("created=", 0) != 0) {
        return false;
    }
    window.hwnd = std::stoull(hwnd.substr(5));
    window.created = static_cast<DWORD>(std::stoul(created.substr(8)));
    std::string field;
    while (fields >> field) {
        const size_t equals = field.find('=');
        if (equals == std::string::npos || equals + 1 == field.size()) {
            continue;
        }
        const std::string key = field.substr(0, equals);
        const std::string value = field.substr(equals + 1);
        if (key == "sysclose") {
            window.sysCloses = std::stoi(value);
        } else if (key == "close") {
            window.closes = std::stoi(value);
        } else if (key == "firstclose") {
            window.firstClose = static_cast<DWORD>(std::stoul(value));
        } else if (key == "style") {
            window.style = static_cast<DWORD>(std::stoul(value, nullptr, 16));
        }
    }
    // The tick count is far from 0 by the time a test runs: 0 means the
    // field was never filled in.
    return window.hwnd != 0 && window.created != 0;
}

}  // namespace

bool HookProbe::Start(const std::string& logName, DWORD lifetimeMs) {
    logPath = TestDir() + logName;
    DeleteFileA(logPath.c_str());
    const std::string wendle = winetest::ProgramDir() + "Wendle.dll";
    if (!process.Start(ToolsDir() + "HookProbe.exe",
                       Quoted(logPath) + " " + Quoted(wendle) + " " + std::to_string(lifetimeMs))) {
        return false;
    }
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 15000 && process.Running()) {
        window = ReadyWindow(logPath);
        if (window != nullptr) {
            return true;
        }
        winetest::PumpFor(20);
    }
    return false;
}

bool HookProbe::Close() {
    if (window != nullptr) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    return process.WaitForExit(10000);
}

std::vector<Report> HookProbe::Reports() const {
    std::vector<Report> reports;
    for (const std::string& line : ReadLines(logPath)) {
        std::istringstream fields(line);
        Report report;
        unsigned long tick = 0;
        if (fields >> report.kind >> report.window >> tick && report.kind != "ready") {
            report.tick = static_cast<DWORD>(tick);
            reports.push_back(report);
        }
    }
    return reports;
}

std::string BrowserCopy(const std::string& fileName) {
    const std::string path = TestDir() + fileName;
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return path;
    }
    return CopyFileA((ToolsDir() + "TestBrowser.exe").c_str(), path.c_str(), TRUE) ? path : "";
}

Script& Script::Add(const std::string& argument) {
    if (!text.empty()) {
        text += ' ';
    }
    text += Quoted(argument);
    return *this;
}

Script& Script::Create(const std::string& name, const std::string& className, const std::string& style,
                       const std::string& title, const std::string& parent) {
    return Add("create").Add(name).Add(className).Add(style).Add(title).Add(parent);
}

Script& Script::Key(const std::string& keys) { return Add("key").Add(keys); }

Script& Script::Press(const std::string& key) { return Add("press").Add(key); }

Script& Script::Release(const std::string& key) { return Add("release").Add(key); }

Script& Script::Wait(DWORD ms) { return Add("wait").Add(std::to_string(ms)); }

Script& Script::Hold(const std::string& name, DWORD ms) { return Add("hold").Add(name).Add(std::to_string(ms)); }

bool Browser::Start(const std::string& fileName, const Script& script, const std::string& outName) {
    const std::string exe = BrowserCopy(fileName);
    outPath = TestDir() + outName;
    DeleteFileA(outPath.c_str());
    return !exe.empty() && process.Start(exe, Quoted(outPath) + " " + script.Text());
}

bool Browser::Finish(std::vector<BrowserWindow>& windows, DWORD timeoutMs) {
    DWORD exitCode = 1;
    if (!process.WaitForExit(timeoutMs, &exitCode) || exitCode != 0) {
        return false;
    }
    windows.clear();
    for (const std::string& line : ReadLines(outPath)) {
        BrowserWindow window;
        if (!ParseBrowserLine(line, window)) {
            return false;
        }
        windows.push_back(window);
    }
    return true;
}

bool RunBrowser(const std::string& fileName, const Script& script, std::vector<BrowserWindow>& windows) {
    Browser browser;
    return browser.Start(fileName, script, fileName + ".out") && browser.Finish(windows);
}

unsigned long long HandleOf(const std::vector<BrowserWindow>& windows, const std::string& name) {
    for (const BrowserWindow& window : windows) {
        if (window.name == name) {
            return window.hwnd;
        }
    }
    return 0;
}

DWORD CreatedTickOf(const std::vector<BrowserWindow>& windows, const std::string& name) {
    for (const BrowserWindow& window : windows) {
        if (window.name == name) {
            return window.created;
        }
    }
    return 0;
}

std::vector<Report> ReportsAbout(const std::vector<Report>& reports, size_t first, const std::string& kind,
                                 unsigned long long window) {
    std::vector<Report> found;
    for (size_t i = first; i < reports.size(); ++i) {
        if (reports[i].kind == kind && reports[i].window == window) {
            found.push_back(reports[i]);
        }
    }
    return found;
}

std::vector<unsigned long long> KilledWindows(const std::vector<Report>& reports, size_t first) {
    std::vector<unsigned long long> killed;
    for (size_t i = first; i < reports.size(); ++i) {
        if (reports[i].kind == "kill") {
            killed.push_back(reports[i].window);
        }
    }
    return killed;
}

}  // namespace hooktest
