// CTextLabel: the static-text control of the skinned windows. It draws its
// text in its own colour and font on a solid or gradient background, or
// straight onto the parent's picture (see-through), and can act as a link.
// Every setter returns the label, so set-ups chain:
//     label.Attach(hwnd, 1028);
//     label.SetClickable(true, false).SetForeColour(RGB(255, 255, 207)).SetUnderlined(true).SetSeeThrough(true);
//
// Windows sends WM_SYSCOLORCHANGE to top-level windows only: the owning
// dialog forwards it (SendMessage to the label) for the button-face
// background to follow a colour-scheme change.
#pragma once
#include <windows.h>

#include <string>

#include "ui/style/LabelStyle.h"
#include "ui/win32/OffscreenDC.h"

namespace tarnelix {

class CTextLabel {
public:
    CTextLabel();
    virtual ~CTextLabel();
    CTextLabel(const CTextLabel&) = delete;
    CTextLabel& operator=(const CTextLabel&) = delete;

    // Subclasses the dialog's static control and takes over its font (the
    // system font when it has none). False when there is no such control or
    // the label is attached already.
    bool Attach(HWND dialog, int controlId);
    void Detach();
    HWND Hwnd() const { return hwnd; }

    // The setters, in their fixed order. Unless noted they end with
    // RedrawLabel.
    virtual CTextLabel& SetBackColour(COLORREF colour, COLORREF endColour, bool gradient);
    virtual CTextLabel& SetForeColour(COLORREF colour);
    // Only while the window exists: sets its text and redraws.
    virtual CTextLabel& SetCaption(const std::string& text);
    virtual CTextLabel& SetBold(bool bold);
    virtual CTextLabel& SetFace(const std::string& faceName, BYTE charSet);
    virtual CTextLabel& SetUnderlined(bool underlined);
    virtual CTextLabel& SetItalic(bool italic);
    virtual CTextLabel& SetPointSize(int points);
    // WS_EX_STATICEDGE on or off; no redraw.
    virtual CTextLabel& SetSunkenEdge(bool sunken);
    // WS_BORDER on or off; no redraw.
    virtual CTextLabel& SetThinBorder(bool border);
    // Stores the flag; adds WS_EX_TRANSPARENT whatever the flag.
    virtual CTextLabel& SetSeeThrough(bool seeThrough);
    // Timer 1 every 500 ms; no redraw.
    virtual CTextLabel& BlinkText(bool blink);
    virtual CTextLabel& BlinkBackground(bool blink);
    // Link mode 1 and SS_NOTIFY when set; notify also sends the parent a
    // WM_NOTIFY of code 0x8200 before STN_CLICKED. No redraw.
    virtual CTextLabel& SetClickable(bool clickable, bool notify);
    // Shown over the label (needs SS_NOTIFY, else the static is transparent
    // to the mouse); no redraw.
    virtual CTextLabel& SetHoverCursor(HCURSOR cursor);
    // Direction 0 shifts the emboss copy up-left, any other down-right.
    virtual CTextLabel& SetEmboss(bool emboss, int direction);
    virtual CTextLabel& SetAngle(int degrees, bool rotated);
    virtual CTextLabel& SetEmbossColour(COLORREF colour);
    virtual CTextLabel& SetLogicalFont(const LOGFONTA& font);
    // As SetClickable, with link mode 2.
    virtual CTextLabel& SetClickableAlt(bool clickable, bool notify);
    // Stored only; no redraw.
    virtual CTextLabel& SetTarget(const std::string& target);

    // Repaints the label at once, then the parent's area under it, so that a
    // see-through label stands on a freshly drawn background.
    void RedrawLabel();

    const style::LabelState& State() const { return state; }
    const LOGFONTA& LogicalFont() const { return logFont; }
    HFONT Font() const { return font.Get(); }

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR refData);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnTimer(WPARAM timerId);
    void OnLeftButtonDown();
    void OnSysColorChange();

    void PaintOnto(HDC dc, const RECT& client, const std::string& text) const;
    void FillBackground(HDC dc, const RECT& client) const;
    void DrawRotated(HDC dc, const RECT& client, const std::string& text) const;
    void DrawFlat(HDC dc, const RECT& client, const std::string& text) const;

    void TakeControlFont();
    void RemakeFont();
    CTextLabel& SetClickableMode(int mode, bool clickable, bool notify);
    void ApplyTimerChange(const style::BlinkTimerChange& change);
    void ChangeStyle(int index, DWORD bits, bool on, bool frameChanged);

    HWND hwnd = nullptr;
    style::LabelState state;
    LOGFONTA logFont{};
    GdiObject<HFONT> font;
    GdiObject<HBRUSH> standardBrush;
    GdiObject<HBRUSH> ownBrush;
    HCURSOR hoverCursor = nullptr;
};

}  // namespace tarnelix
