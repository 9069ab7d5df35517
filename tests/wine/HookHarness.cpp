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
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

}  // namespace

bool HookProbe::Start(const std::string& logName) {
    logPath = TestDir() + logName;
    DeleteFileA(logPath.c_str());
    const std::string wendle = winetest::ProgramDir() + "Wendle.dll";
    if (!process.Start(ToolsDir() + "TestBrowser.exe", Quoted(logPath) + " probe " + Quoted(wendle))) {
        return false;
    }
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 15000 && process.Running()) {
        for (const std::string& line : ReadLines(logPath)) {
            std::istringstream fields(line);
            std::string kind;
            unsigned long long handle = 0;
            if (fields >> kind >> handle && kind == "ready") {
                window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(handle));
                return true;
            }
        }
        winetest::PumpFor(20);
    }
    return false;
}

bool HookProbe::Close() {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return process.WaitForExit(10000);
}

std::vector<Report> HookProbe::Reports() const {
    std::vector<Report> reports;
    for (const std::string& line : ReadLines(logPath)) {
        std::istringstream fields(line);
        Report report;
        if (fields >> report.kind >> report.window >> report.tick && report.kind != "ready") {
            reports.push_back(report);
        }
    }
    return reports;
}

Script& Script::Add(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        text += (text.empty() ? "" : " ") + Quoted(argument);
    }
    return *this;
}

Script& Script::Create(const std::string& name, const std::string& className, const std::string& style,
                       const std::string& title, const std::string& parent) {
    return Add({"create", name, className, style, title, parent});
}

bool Browser::Start(const std::string& fileName, const Script& script, const std::string& outName) {
    const std::string exe = TestDir() + fileName;
    CopyFileA((ToolsDir() + "TestBrowser.exe").c_str(), exe.c_str(), TRUE);
    outPath = TestDir() + outName;
    DeleteFileA(outPath.c_str());
    return process.Start(exe, Quoted(outPath) + " " + script.Text());
}

bool Browser::Finish(Windows& windows, DWORD timeoutMs) {
    DWORD exitCode = 1;
    if (!process.WaitForExit(timeoutMs, &exitCode) || exitCode != 0) {
        return false;
    }
    windows.clear();
    for (const std::string& line : ReadLines(outPath)) {
        std::istringstream fields(line);
        BrowserWindow w;
        if (!(fields >> w.name >> w.hwnd >> w.created >> w.sysCloses >> w.closes >> w.firstClose >> w.timerMessages >> std::hex >>
              w.style)) {
            return false;
        }
        windows.push_back(w);
    }
    return true;
}

bool RunBrowser(const std::string& fileName, const Script& script, Windows& windows) {
    Browser browser;
    return browser.Start(fileName, script, fileName + ".out") && browser.Finish(windows);
}

const BrowserWindow* Find(const Windows& windows, const std::string& name) {
    for (const BrowserWindow& window : windows) {
        if (window.name == name) {
            return &window;
        }
    }
    return nullptr;
}

std::vector<Report> ReportsOf(const std::vector<Report>& reports, size_t first, const std::string& kind,
                              unsigned long long window) {
    std::vector<Report> found;
    for (size_t i = first; i < reports.size(); ++i) {
        if (reports[i].kind == kind && (window == 0 || reports[i].window == window)) {
            found.push_back(reports[i]);
        }
    }
    return found;
}

}  // namespace hooktest
