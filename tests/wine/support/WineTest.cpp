#include "support/WineTest.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace winetest {
namespace {

std::string EnvFolder(const char* name) {
    const char* value = std::getenv(name);
    std::string folder = value != nullptr ? value : "";
    if (!folder.empty() && folder.back() != '\\') {
        folder += '\\';
    }
    return folder;
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
    std::string commandLine = "\"" + exePath + "\"";
    if (!args.empty()) {
        commandLine += " " + args;
    }
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    return CreateProcessA(exePath.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info) != FALSE;
}

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (info.hProcess == nullptr || WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode != nullptr) {
        GetExitCodeProcess(info.hProcess, exitCode);
    }
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
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs) {
    HWND window = nullptr;
    WaitFor([&] { return (window = FindWindowA(className, title)) != nullptr; }, timeoutMs);
    return window;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    return WaitFor([&] { return !IsWindow(window); }, timeoutMs);
}

std::string WindowText(HWND window) {
    char text[512] = {};
    SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

std::string VersionString(const std::string& filePath, const char* name) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(filePath.c_str(), &handle);
    if (size == 0) {
        return "";
    }
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(filePath.c_str(), 0, size, data.data())) {
        return "";
    }
    std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) ||
        value == nullptr) {
        return "";
    }
    return std::string(value, length > 0 ? length - 1 : 0);
}

HWND StartTarnelix(Process& tarnelix) {
    if (!tarnelix.Start(ProgramDir() + "Tarnelix.exe")) {
        return nullptr;
    }
    return WaitForWindow("#32770", "Tarnelix 3.0", 15000);
}

bool ExitTarnelix(Process& tarnelix, HWND mainWindow) {
    PostMessageA(mainWindow, WM_COMMAND, IDOK, 0);
    // The exit question comes in the program's own message box.
    HWND question = WaitForWindow("#32770", "Message Info", 10000);
    if (question == nullptr) {
        return false;
    }
    PostMessageA(question, WM_COMMAND, IDOK, 0);
    return tarnelix.WaitForExit(10000);
}

std::string ReadUserString(const std::string& key, const char* value) {
    char data[4096] = {};
    DWORD size = sizeof(data) - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
        return "<missing>";
    }
    return data;
}

std::string ReadTarnelixString(const char* section, const char* value) {
    return ReadUserString(std::string("Software\\Corvantine\\Tarnelix\\") + section, value);
}

namespace {
constexpr char kSettingsKey[] = "Software\\Corvantine\\Tarnelix\\Settings";
}  // namespace

void WriteSetting(const char* value, const char* text) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, value, REG_SZ, text, static_cast<DWORD>(std::strlen(text) + 1));
}

void WriteSetting(const char* value, DWORD number) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, value, REG_DWORD, &number, sizeof(number));
}

DWORD SettingNumber(const char* value) {
    DWORD number = 12345;
    DWORD size = sizeof(number);
    RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, value, RRF_RT_REG_DWORD, nullptr, &number, &size);
    return number;
}

std::string CounterDigits(HWND mainWindow) {
    std::string digits;
    for (int id = 1012; id >= 1007; --id) {
        digits += WindowText(GetDlgItem(mainWindow, id));
    }
    return digits;
}

HWND FindChildDialogWithControl(HWND parent, int controlId) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgItem(child, controlId) != nullptr) {
            return child;
        }
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
    if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top) {
        return false;
    }
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + imageSize;
    CreateDirectoryA((TestDir() + "screenshots").c_str(), nullptr);
    const std::string path = TestDir() + "screenshots\\" + name + ".bmp";
    bool saved = false;
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        saved = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
                std::fwrite(bits, imageSize, 1, out) == 1;
        std::fclose(out);
    }
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
        RemoveDirectoryA((ProgramDir() + file).c_str());  // planted by a test to make saves fail
    }
}

void TarnelixTest::TearDown() {
    if (main != nullptr && IsWindow(main)) {
        EXPECT_TRUE(ExitTarnelix(tarnelix, main));
    }
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
