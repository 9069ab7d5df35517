// CXPButton: a push button drawn in the style of the desktop of its time - a
// rounded black outline, a light vertical gradient face, an orange frame
// while the pointer rests on it and a blue frame while it has the focus.
//
// Use: a member of the dialog; in OnInitDialog call Attach(hwnd, id). The
// owner-draw request WM_DRAWITEM goes to the dialog, not to the button, so
// the dialog forwards it: either
//     case WM_DRAWITEM: if (CXPButton::HandleDrawItem(lParam)) { result = TRUE; return true; }
// or, per button, `if (dis->CtlID == id) button.DrawItem(*dis);`.
#pragma once
#include <windows.h>

#include <string>

#include "ui/style/ButtonStyle.h"
#include "ui/win32/OffscreenDC.h"

namespace tarnelix {

class CXPButton {
public:
    CXPButton();
    virtual ~CXPButton();
    CXPButton(const CXPButton&) = delete;
    CXPButton& operator=(const CXPButton&) = delete;

    // Subclasses the dialog's button control and makes it owner-drawn.
    // False when the dialog has no such control or it is attached already.
    bool Attach(HWND dialog, int controlId);
    // Gives the control back its own window procedure (its style stays).
    void Detach();

    // Paints the button for its WM_DRAWITEM; false when the request is for
    // another control.
    virtual bool DrawItem(const DRAWITEMSTRUCT& item);
    // For a parent's WM_DRAWITEM: lets the CXPButton attached to the item's
    // window draw it; false when that window is no attached CXPButton.
    static bool HandleDrawItem(LPARAM drawItemStruct);

    HWND Hwnd() const { return hwnd; }
    bool IsHot() const { return hot; }
    bool IsFocused() const { return focused; }
    bool IsEmphasised() const { return emphasised; }

protected:
    // Called once the control is subclassed: replaces the button type bits
    // by BS_OWNERDRAW, so every paint comes as an owner-draw request.
    virtual void OnAttach();

private:
    struct FramePenSet {
        GdiObject<HPEN> left;
        GdiObject<HPEN> top;
        GdiObject<HPEN> right;
        GdiObject<HPEN> bottom;
    };

    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR refData);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnMouseMove();
    void OnMouseHover();
    void OnMouseLeave();

    static FramePenSet MakeFramePens(const style::FramePens& styles);
    void DrawBorder(HDC dc, const RECT& item) const;
    void PaintFace(HDC dc, const style::Rect& face) const;
    void DrawFrame(HDC dc, const style::Rect& face, const FramePenSet& pens) const;
    void DrawCaption(HDC dc, const style::Rect& face, const std::string& caption,
                     const style::ButtonItemState& state) const;

    HWND hwnd = nullptr;
    bool hot = false;
    bool tracking = false;
    bool focused = false;
    bool emphasised = false;
    GdiObject<HPEN> borderPen;
    FramePenSet hotPens;
    FramePenSet focusPens;
};

}  // namespace tarnelix
