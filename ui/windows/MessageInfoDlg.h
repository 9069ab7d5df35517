// The program's own message box, "Message Info" (dialog template 152): one
// text over "Message.bmp" with "Ok" and "Cancel".
#pragma once
#include <windows.h>

#include <string>

#include "platform/win32/Dialog.h"
#include "ui/win32/XPButton.h"
#include "ui/windows/SkinSource.h"

namespace tarnelix {

class CMessageInfoDlg : public CDialog {
public:
    explicit CMessageInfoDlg(const ISkinSource& skin);
    ~CMessageInfoDlg() override;

    void SetMessage(const std::string& text) { message = text; }
    void SetTitle(const std::string& text) { title = text; }
    // 1 for "Ok", 2 for "Cancel", the close box or Escape.
    int Run(HWND owner);

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    std::string title;
    std::string message;
    HBITMAP bitmap = nullptr;
    HICON icon = nullptr;
    HFONT messageFont = nullptr;
    CXPButton okButton;
    CXPButton cancelButton;
};

}  // namespace tarnelix
