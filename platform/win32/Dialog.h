// Dialog base of the framework: a window made from a numbered dialog
// template, with the C++ object bound to its HWND at WM_INITDIALOG.
#pragma once
#include <windows.h>

#include <string>

namespace tarnelix {

class CDialog {
public:
    explicit CDialog(int templateId) : templateId(templateId) {}
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally; returns the code passed to EndModal, or -1
    // when the template could not be loaded.
    INT_PTR DoModal(HWND parent = nullptr);
    // Creates the dialog modeless, as a child or owned window of parent.
    bool Create(HWND parent);
    void EndModal(INT_PTR result);

    HWND Hwnd() const { return hwnd; }
    HWND Item(int id) const { return GetDlgItem(hwnd, id); }

protected:
    // Return TRUE to let the system set the focus, as for WM_INITDIALOG.
    virtual BOOL OnInitDialog() { return TRUE; }
    // Return true when the command was handled.
    virtual bool OnCommand(int id, int notifyCode, HWND control);
    virtual void OnTimer(UINT_PTR /*timerId*/) {}
    // Everything else. Return true and fill result when handled.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result);

    HWND hwnd = nullptr;
    bool modal = false;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    int templateId;
};

// The module that holds the dialog templates and other resources.
HINSTANCE ResourceInstance();

// The text of a window or control, empty when it has none.
std::string WindowText(HWND window);

}  // namespace tarnelix
