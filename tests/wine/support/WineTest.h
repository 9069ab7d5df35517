// Helpers for the end-to-end tests that run under Wine: where the program
// folder copy is, starting programs and waiting for their windows.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

namespace winetest {

// The fresh copy of the program folder that wine-run.sh made for this test,
// ending in a backslash.
std::string ProgramDir();
// The folder of the test programs and helper tools, ending in a backslash.
std::string ToolsDir();
// A scratch folder of this test, ending in a backslash.
std::string TestDir();

// A started program, terminated on destruction if it still runs.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Start(const std::string& exePath, const std::string& args = "");
    // Waits for the end; returns true and fills exitCode when it ended in time.
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

// Polls for a top-level window (either text may be null), pumping this
// thread's messages meanwhile. Returns null on time-out.
HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs);
// Waits until the window no longer exists.
bool WaitUntilGone(HWND window, DWORD timeoutMs);
// Pumps this thread's messages for the given time.
void PumpFor(DWORD ms);
// Polls the condition, pumping this thread's messages, until it holds or
// the time is up; then its last answer.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; PumpFor(10)) {
        if (condition()) {
            return true;
        }
    }
    return condition();
}
// The text of a window of any process.
std::string WindowText(HWND window);

// Starts Tarnelix.exe from the program folder and waits for its main window.
HWND StartTarnelix(Process& tarnelix);
// Exits Tarnelix the way the user does: the exit command, then OK on the
// question. True when the process ended.
bool ExitTarnelix(Process& tarnelix, HWND mainWindow);
// A string value below HKEY_CURRENT_USER; "<missing>" when there is none.
std::string ReadUserString(const std::string& key, const char* value);
// Reads a string value of HKCU\Software\Corvantine\Tarnelix\<section>.
std::string ReadTarnelixString(const char* section, const char* value);
// Values of HKCU\Software\Corvantine\Tarnelix\Settings; a missing number
// reads as 12345.
void WriteSetting(const char* value, const char* text);
void WriteSetting(const char* value, DWORD number);
DWORD SettingNumber(const char* value);
// The six counter digits of the main window, leftmost first.
std::string CounterDigits(HWND mainWindow);
// The page of the main window that holds the control.
HWND FindChildDialogWithControl(HWND parent, int controlId);
std::string ReadWholeFile(const std::string& path);
// True when a file or folder of that path exists.
bool Exists(const std::string& path);
// The file's content once it holds the text (or after the time, whatever it
// holds then): a save caused by a posted click lands when the program gets
// to it, which under load is later than any fixed pause.
std::string WaitForFileWith(const std::string& path, const std::string& text, DWORD timeoutMs);

// Saves what the screen shows of the window as TestDir()\screenshots\name.bmp;
// wine-run.sh turns these into PNG files in the build tree.
bool SaveWindowShot(HWND window, const std::string& name);
// The colour the screen shows at a point of the window's client area.
COLORREF ClientPixel(HWND window, int x, int y);

// A string value of a file's version resource, e.g. "CompanyName".
std::string VersionString(const std::string& filePath, const char* name);

// A test of the real Tarnelix.exe that starts from a first run (no
// settings, no list files) and exits the program the user's way.
class TarnelixTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts Tarnelix and returns once its main window answers: the first
    // start in a fresh wineserver can take seconds.
    void Start();
    // Waits until the main window answers. A sent message overtakes posted
    // ones, so this does not prove that those were handled.
    bool Sync();

    Process tarnelix;
    HWND main = nullptr;
};

}  // namespace winetest
