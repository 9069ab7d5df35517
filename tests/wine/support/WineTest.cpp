#include "support/WineTest.h"
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace winetest {
namespace {

constexpr char kSettingsKey[] = "Software\\Corvantine\\Tarnelix\\Settings";

std::string EnvFolder(const char* name) {
    const char* value = std::getenv(name);
    const std::string folder = value != nullptr ? value : "";
    return folder.empty() || folder.back() == '\\' ? folder : folder + '\\';
}

}  // namespace

std::string ProgramDir() { return EnvFolder("TARNELIX_PROGRAM_DIR"); }
std::string ToolsDir() { return EnvFolder("TARNELIX_TOOLS_DIR"); }
std::string TestDir() { return EnvFolder("TARNELIX_TEST_DIR"); }

Process::~Process() {
    if (info.hProcess != nullptr) {
        Terminate();
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
}

bool Process::Start(const std::string& exePath, const std::string& args) {
    std::string commandLine = "\"" + exePath + "\"" + (args.empty() ? "" : " " + args);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    return CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info) != FALSE;
}

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (info.hProcess == nullptr || WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode != nullptr) GetExitCodeProcess(info.hProcess, exitCode);
    return true;
}

bool Process::Terminate() {
    if (Running()) {
        TerminateProcess(info.hProcess, 1);
    }
    return WaitForExit(5000);
}

bool Process::Running() const {
    return info.hProcess != nullptr && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT;
}

void PumpFor(DWORD ms) {
    for (const DWORD start = GetTickCount();; Sleep(5)) {
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); DispatchMessageA(&msg)) TranslateMessage(&msg);
        if (GetTickCount() - start >= ms) return;
    }
}

HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs) {
    HWND window = nullptr;
    WaitFor([&] { return (window = FindWindowA(className, title)) != nullptr; }, timeoutMs);
    return window;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) { return WaitFor([&] { return !IsWindow(window); }, timeoutMs); }

std::string WindowText(HWND window) {
    char text[512] = {};
    SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

HWND StartTarnelix(Process& tarnelix) {
    return tarnelix.Start(ProgramDir() + "Tarnelix.exe") ? WaitForWindow("#32770", "Tarnelix 3.0", 15000) : nullptr;
}

bool ExitTarnelix(Process& tarnelix, HWND mainWindow) {
    PostMessageA(mainWindow, WM_COMMAND, IDOK, 0);
    HWND question = WaitForWindow("#32770", "Message Info", 10000);
    return question != nullptr && PostMessageA(question, WM_COMMAND, IDOK, 0) && tarnelix.WaitForExit(10000);
}

std::string ReadUserString(const std::string& key, const char* value, HKEY root, DWORD type) {
    char data[8192] = {};
    DWORD size = sizeof(data) - 2;
    if (RegGetValueA(root, key.c_str(), value, type, nullptr, data, &size) != ERROR_SUCCESS) return "<missing>";
    return std::string(data, size > 0 ? size - 1 : 0);
}

DWORD ReadUserNumber(const std::string& key, const char* value, DWORD missing) {
    DWORD size = sizeof(missing);
    RegGetValueA(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_DWORD, nullptr, &missing, &size);
    return missing;
}

std::string ReadTarnelixString(const char* section, const char* value) {
    return ReadUserString(std::string("Software\\Corvantine\\Tarnelix\\") + section, value);
}

void WriteSetting(const char* value, const std::string& text) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, value, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void WriteSetting(const char* value, DWORD number) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, value, REG_DWORD, &number, sizeof(number));
}

DWORD SettingNumber(const char* value) { return ReadUserNumber(kSettingsKey, value); }

std::string CounterDigits(HWND mainWindow) {
    std::string digits;
    for (int id = 1012; id >= 1007; --id) digits += WindowText(GetDlgItem(mainWindow, id));
    return digits;
}

HWND FindChildDialogWithControl(HWND parent, int controlId) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgItem(child, controlId) != nullptr) return child;
    }
    return nullptr;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string WaitForFileWith(const std::string& path, const std::string& text, DWORD timeoutMs) {
    WaitFor([&] { return ReadWholeFile(path).find(text) != std::string::npos; }, timeoutMs);
    return ReadWholeFile(path);
}

bool SaveWindowShot(HWND window, const std::string& name) {
    RECT rect{};
    if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top) return false;
    const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    // A bottom-up 24-bit picture, as BMP files hold them.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    const DWORD imageSize = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4 * static_cast<DWORD>(height);
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    const BITMAPFILEHEADER file{0x4D42, offset + imageSize, 0, 0, offset};  // "BM"
    CreateDirectoryA((TestDir() + "screenshots").c_str(), nullptr);
    FILE* out = std::fopen((TestDir() + "screenshots\\" + name + ".bmp").c_str(), "wb");
    const bool saved = out != nullptr && std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                       std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
                       std::fwrite(bits, imageSize, 1, out) == 1;
    if (out != nullptr) std::fclose(out);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

COLORREF ClientPixel(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

void TarnelixTest::SetUp() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Corvantine");
    for (const char* file : {"AllowBanners.dat", "BlockedHistory.dat"}) {
        DeleteFileA((ProgramDir() + file).c_str());
    }
}

void TarnelixTest::TearDown() {
    EXPECT_TRUE(main == nullptr || !IsWindow(main) || ExitTarnelix(tarnelix, main));
}

void TarnelixTest::Start() {
    main = StartTarnelix(tarnelix);
    ASSERT_NE(nullptr, main);
    ASSERT_TRUE(WaitFor([&] { return Sync(); }, 15000));
    PumpFor(400);  // the first sweep and the timers
}

bool TarnelixTest::Sync() {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
}

}  // namespace winetest
