// IDesktop over the Win32 window functions: windows of other programs are
// read, searched and sent close commands by posting, never by sending.
#pragma once

#include "platform/Desktop.h"

// The full path of the process's program file; "" when it is gone or may
// not be asked.
std::string ProcessProgramPath(std::uint32_t processId);
// The same through a process handle the caller has already opened with a
// query right (a HANDLE; null when it could not be opened).
std::string ProcessProgramPath(std::uint32_t processId, void* openedProcess);

class Win32Desktop final : public IDesktop {
public:
    std::optional<std::string> WindowTitle(WindowId window) const override;
    bool IsWindowVisible(WindowId window) const override;
    std::uint32_t WindowStyle(WindowId window) const override;
    WindowId FindTopLevel(const char* className, const char* title) const override;
    std::vector<WindowId> TopLevelWindows() const override;
    std::string WindowProgramPath(WindowId window) const override;
    bool IsTopLevel(WindowId window) const override;
    bool HasChildOfClass(WindowId window, const char* className) const override;
    bool PostSystemClose(WindowId window) override;
    bool PostClose(WindowId window) override;
    bool IsCtrlKeyDown() const override;
    void Pause(unsigned milliseconds) override;
};
