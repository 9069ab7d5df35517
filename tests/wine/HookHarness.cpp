#include "HookHarness.h"
#include <algorithm>
#include <fstream>
#include <sstream>

namespace hooktest {
namespace {

using HookFunction = void (*)();

std::vector<Report> gReports;
WNDPROC gDialogProc = nullptr;

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static const UINT newWindow = RegisterWindowMessageA("WM_TARNELIX_NEW_WINDOW_CREATED");
    static const UINT killPopup = RegisterWindowMessageA("WM_TARNELIX_KILL_POPUP_WINDOW");
    if (msg == newWindow || msg == killPopup) {
        gReports.push_back({msg == newWindow ? "new" : "kill", static_cast<unsigned long long>(lParam), GetTickCount()});
    }
    return CallWindowProcA(gDialogProc, hwnd, msg, wParam, lParam);
}

std::string Quoted(const std::string& argument) {
    const bool plain = !argument.empty() && argument.find_first_of(" \t\"") == std::string::npos;
    return plain ? argument : "\"" + argument + "\"";
}

}  // namespace

HookProbe::HookProbe() : wendle(LoadLibraryA((winetest::ProgramDir() + "Wendle.dll").c_str())) {
    auto initialise = reinterpret_cast<HookFunction>(GetProcAddress(wendle, "Initialise"));
    window = CreateWindowExA(0, "#32770", "Tarnelix 3.0", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    if (initialise == nullptr || window == nullptr) return;
    gReports.clear();
    gDialogProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProbeProc)));
    initialise();
}

HookProbe::~HookProbe() {
    if (auto shutdown = reinterpret_cast<HookFunction>(GetProcAddress(wendle, "Shutdown"))) shutdown();
    DestroyWindow(window);
    FreeLibrary(wendle);
}

const std::vector<Report>& HookProbe::Reports() const {
    winetest::PumpFor(10);
    return gReports;
}

Script& Script::Add(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) text += (text.empty() ? "" : " ") + Quoted(argument);
    return *this;
}

bool Browser::Start(const std::string& fileName, const Script& script, const std::string& outName) {
    const std::string exe = winetest::TestDir() + fileName;
    CopyFileA((winetest::ToolsDir() + "TestBrowser.exe").c_str(), exe.c_str(), TRUE);
    outPath = winetest::TestDir() + outName;
    DeleteFileA(outPath.c_str());
    return process.Start(exe, Quoted(outPath) + " " + script.Text());
}

bool Browser::Finish(Windows& windows, DWORD timeoutMs) {
    DWORD exitCode = 1;
    for (const DWORD start = GetTickCount(); !process.WaitForExit(0, &exitCode);) {
        if (GetTickCount() - start > timeoutMs) return false;
        // Wakes at once for a message, so the probe stamps its reports on time.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&msg);
    }
    std::ifstream in(outPath);
    windows.clear();
    for (std::string line; exitCode == 0 && std::getline(in, line);) {
        std::istringstream fields(line);
        BrowserWindow w;
        if (!(fields >> w.name >> w.hwnd >> w.created >> w.sysCloses >> w.closes >> w.firstClose >>
              w.timerMessages >> std::hex >> w.style)) {
            return false;
        }
        windows.push_back(w);
    }
    return exitCode == 0;
}

bool RunBrowser(const std::string& fileName, const Script& script, Windows& windows) {
    Browser browser;
    return browser.Start(fileName, script, fileName + ".out") && browser.Finish(windows);
}

const BrowserWindow* Find(const Windows& windows, const std::string& name) {
    const auto found = std::find_if(windows.begin(), windows.end(), [&](auto& w) { return w.name == name; });
    return found != windows.end() ? &*found : nullptr;
}

std::vector<Report> ReportsOf(const std::vector<Report>& reports, size_t first, const std::string& kind,
                              unsigned long long window) {
    std::vector<Report> found;
    for (size_t i = first; i < reports.size(); ++i) {
        if (reports[i].kind == kind && (window == 0 || reports[i].window == window)) found.push_back(reports[i]);
    }
    return found;
}

}  // namespace hooktest
