#include <windows.h>
#include <tlhelp32.h>

#include "platform/win32/Win32Desktop.h"

#include <vector>

#include "platform/win32/Dialog.h"

namespace {

HWND ToHwnd(WindowId window) {
    return reinterpret_cast<HWND>(window);
}

WindowId ToId(HWND hwnd) {
    return reinterpret_cast<WindowId>(hwnd);
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<WindowId>*>(lParam)->push_back(ToId(hwnd));
    return TRUE;
}

template <class Function>
Function SystemFunction(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

// Windows Vista and later: also a process of another user or an elevated
// one can be asked for its program file.
std::string QueryImagePath(HANDLE process) {
    using Query = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
    static const Query query = SystemFunction<Query>("QueryFullProcessImageNameA");
    if (query == nullptr || process == nullptr) {
        return "";
    }
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    return query(process, 0, path, &size) != FALSE ? std::string(path, size) : "";
}

// The systems before Vista (but NT 4.0) list the processes with their
// program files in a tool-help snapshot.
std::string SnapshotImagePath(DWORD processId) {
    using Snapshot = HANDLE(WINAPI*)(DWORD, DWORD);
    using Walk = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
    static const Snapshot snapshot = SystemFunction<Snapshot>("CreateToolhelp32Snapshot");
    static const Walk first = SystemFunction<Walk>("Process32First");
    static const Walk next = SystemFunction<Walk>("Process32Next");
    HANDLE list = snapshot != nullptr && first != nullptr && next != nullptr ? snapshot(TH32CS_SNAPPROCESS, 0)
                                                                           : INVALID_HANDLE_VALUE;
    if (list == INVALID_HANDLE_VALUE) {
        return "";
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    std::string path;
    for (BOOL more = first(list, &entry); more && path.empty(); more = next(list, &entry)) {
        if (entry.th32ProcessID == processId) {
            path = entry.szExeFile;
        }
    }
    CloseHandle(list);
    return path;
}

}  // namespace

std::optional<std::string> Win32Desktop::WindowTitle(WindowId window) const {
    HWND hwnd = ToHwnd(window);
    if (hwnd == nullptr || !IsWindow(hwnd)) {
        return std::nullopt;
    }
    std::string title = tarnelix::WindowText(hwnd);
    // The window may have gone while we read its title.
    if (!IsWindow(hwnd)) {
        return std::nullopt;
    }
    return title;
}

bool Win32Desktop::IsWindowVisible(WindowId window) const {
    return ::IsWindowVisible(ToHwnd(window)) != FALSE;
}

std::uint32_t Win32Desktop::WindowStyle(WindowId window) const {
    return static_cast<std::uint32_t>(GetWindowLongA(ToHwnd(window), GWL_STYLE));
}

WindowId Win32Desktop::FindTopLevel(const char* className, const char* title) const {
    return ToId(FindWindowA(className, title));
}

std::vector<WindowId> Win32Desktop::TopLevelWindows() const {
    std::vector<WindowId> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string ProcessProgramPath(std::uint32_t processId, void* openedProcess) {
    const std::string path = QueryImagePath(static_cast<HANDLE>(openedProcess));
    return path.empty() ? SnapshotImagePath(processId) : path;
}

std::string ProcessProgramPath(std::uint32_t processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    const std::string path = ProcessProgramPath(processId, process);
    if (process != nullptr) {
        CloseHandle(process);
    }
    return path;
}

std::string Win32Desktop::WindowProgramPath(WindowId window) const {
    DWORD processId = 0;
    if (GetWindowThreadProcessId(ToHwnd(window), &processId) == 0) {
        return "";
    }
    return ProcessProgramPath(processId);
}

bool Win32Desktop::IsTopLevel(WindowId window) const {
    return IsWindow(ToHwnd(window)) && GetAncestor(ToHwnd(window), GA_PARENT) == GetDesktopWindow();
}

bool Win32Desktop::HasChildOfClass(WindowId window, const char* className) const {
    // A null parent would search the top-level windows instead.
    return window != 0 && FindWindowExA(ToHwnd(window), nullptr, className, nullptr) != nullptr;
}

bool Win32Desktop::PostSystemClose(WindowId window) {
    return PostMessageA(ToHwnd(window), WM_SYSCOMMAND, SC_CLOSE, 0) != FALSE;
}

bool Win32Desktop::PostClose(WindowId window) {
    return PostMessageA(ToHwnd(window), WM_CLOSE, 0, 0) != FALSE;
}

bool Win32Desktop::IsCtrlKeyDown() const {
    return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
}

void Win32Desktop::Pause(unsigned milliseconds) {
    Sleep(milliseconds);
}
