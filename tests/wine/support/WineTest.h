// Helpers of the end-to-end tests under Wine.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace winetest {

// Folders given by wine-run.sh, each ending in a backslash: the fresh copy of
// the program folder, the test programs and tools, this test's scratch folder.
std::string ProgramDir();
std::string ToolsDir();
std::string TestDir();

// A started program, terminated on destruction if it still runs.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    bool Start(const std::string& exePath, const std::string& args = "");
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    bool Running() const;
    // Ends it at once, the way a crash does (no clean-up of its own runs);
    // true once it is gone.
    bool Terminate();
    DWORD Id() const { return info.dwProcessId; }
    HANDLE Handle() const { return info.hProcess; }

private:
    PROCESS_INFORMATION info{};
};

void PumpFor(DWORD ms);
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; PumpFor(10)) {
        if (condition()) return true;
    }
    return condition();
}
// A top-level window (either text may be null); null on time-out.
HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs);
bool WaitUntilGone(HWND window, DWORD timeoutMs);
std::string WindowText(HWND window);

HWND StartTarnelix(Process& tarnelix);
// The user's exit: the exit command, then OK on the question. True when it ended.
bool ExitTarnelix(Process& tarnelix, HWND mainWindow);
// A registry string (REG_MULTI_SZ: NUL-separated), "<missing>" when there is none.
std::string ReadUserString(const std::string& key, const char* value, HKEY root = HKEY_CURRENT_USER,
                           DWORD type = RRF_RT_REG_SZ);
DWORD ReadUserNumber(const std::string& key, const char* value, DWORD missing = 12345);
std::string ReadTarnelixString(const char* section, const char* value);
// Values of HKCU\Software\Corvantine\Tarnelix\Settings; a missing number reads 12345.
void WriteSetting(const char* value, const std::string& text);
void WriteSetting(const char* value, DWORD number);
DWORD SettingNumber(const char* value);
std::string CounterDigits(HWND mainWindow);
HWND FindChildDialogWithControl(HWND parent, int controlId);
std::string ReadWholeFile(const std::string& path);
bool Exists(const std::string& path);
// The file's content once it holds the text, or whatever it holds after the time.
std::string WaitForFileWith(const std::string& path, const std::string& text, DWORD timeoutMs);

// Saves the window's screen as TestDir()\screenshots\name.bmp (wine-run.sh makes PNGs).
bool SaveWindowShot(HWND window, const std::string& name);
COLORREF ClientPixel(HWND window, int x, int y);

// A test of Tarnelix.exe from a first run (no settings or lists), exited the user's way.
class TarnelixTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void Start();
    // Waits until the main window answers; posted messages may still wait.
    bool Sync();
    Process tarnelix;
    HWND main = nullptr;
};

}  // namespace winetest
