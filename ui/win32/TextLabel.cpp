#include "ui/win32/TextLabel.h"

#include <commctrl.h>

#include "platform/win32/Dialog.h"

namespace tarnelix {
namespace {

// Our subclass among any others on the control ("TL").
constexpr UINT_PTR kSubclassId = 0x544C;

static_assert(style::kStaticCentre == SS_CENTER);
static_assert(style::kStaticRight == SS_RIGHT);
static_assert(style::kStaticLeftNoWordWrap == SS_LEFTNOWORDWRAP);
static_assert(style::kStaticNotify == SS_NOTIFY);
static_assert(style::kStaticCentreImage == SS_CENTERIMAGE);
static_assert(style::kWindowBorder == WS_BORDER);
static_assert(style::kExTransparent == WS_EX_TRANSPARENT);
static_assert(style::kExStaticEdge == WS_EX_STATICEDGE);
static_assert(style::kFaceNameSize == LF_FACESIZE);

UINT DrawTextFlags(const style::TextLayout& layout) {
    UINT flags = DT_LEFT;
    if (layout.align == style::LabelAlign::Centre) {
        flags = DT_CENTER;
    } else if (layout.align == style::LabelAlign::Right) {
        flags = DT_RIGHT;
    }
    if (layout.wordWrap) {
        flags |= DT_WORDBREAK;
    }
    if (layout.expandTabs) {
        flags |= DT_EXPANDTABS;
    }
    if (layout.singleLineVCentre) {
        flags |= DT_SINGLELINE | DT_VCENTER;
    }
    return flags;
}

HBRUSH MakeButtonFaceBrush() {
    return CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
}

}  // namespace

CTextLabel::CTextLabel() : standardBrush(MakeButtonFaceBrush()) {
    state.textColour = style::FromColourRef(GetSysColor(COLOR_WINDOWTEXT));
}

CTextLabel::~CTextLabel() {
    Detach();
}

// ---- Attaching ---------------------------------------------------------------

bool CTextLabel::Attach(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    if (control == nullptr || hwnd != nullptr) {
        return false;
    }
    if (!SetWindowSubclass(control, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    hwnd = control;
    TakeControlFont();
    return true;
}

void CTextLabel::Detach() {
    if (hwnd == nullptr) {
        return;
    }
    if (state.blinkTimerRunning) {
        KillTimer(hwnd, style::kLabelBlinkTimerId);
        state.blinkTimerRunning = false;
    }
    RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
    hwnd = nullptr;
}

void CTextLabel::TakeControlFont() {
    auto current = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    if (current == nullptr) {
        current = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    }
    if (GetObjectA(current, sizeof(logFont), &logFont) != 0) {
        RemakeFont();
    }
}

void CTextLabel::RemakeFont() {
    font.Reset(CreateFontIndirectA(&logFont));
}

// ---- Setters -----------------------------------------------------------------

CTextLabel& CTextLabel::SetBackColour(COLORREF colour, COLORREF endColour, bool gradient) {
    style::ApplyBackColour(state, style::FromColourRef(colour), style::FromColourRef(endColour), gradient);
    ownBrush.Reset(state.ownBrush ? CreateSolidBrush(style::ToColourRef(*state.ownBrush)) : nullptr);
    RedrawLabel();
    return *this;
}

CTextLabel& CTextLabel::SetForeColour(COLORREF colour) {
    state.textColour = style::FromColourRef(colour);
    RedrawLabel();
    return *this;
}

CTextLabel& CTextLabel::SetCaption(const std::string& text) {
    if (hwnd != nullptr && IsWindow(hwnd)) {
        SetWindowTextA(hwnd, text.c_str());
        RedrawLabel();
    }
    return *this;
}

CTextLabel& CTextLabel::SetBold(bool bold) {
    logFont.lfWeight = style::FontWeightFor(bold);
    RemakeFont();
    RedrawLabel();
    return *this;
}

CTextLabel& CTextLabel::SetFace(const std::string& faceName, BYTE charSet) {
    style::CopyFaceName(faceName, logFont.lfFaceName);
    logFont.lfCharSet = charSet;
    RemakeFont();
    RedrawLabel();
    return *this;
}

CTextLabel& CTextLabel::SetUnderlined(bool underlined) {
    logFont.lfUnderline = underlined ? TRUE : FALSE;
    RemakeFont();
    RedrawLabel();
    return *this;
}

CTextLabel& CTextLabel::SetItalic(bool italic) {
    logFont.lfItalic = italic ? TRUE : FALSE;
    RemakeFont();
    RedrawLabel();
    return *this;
}

CTextLabel& CTextLabel::SetPointSize(int points) {
    // The height a point font gets on the screen; such a font is made with
    // width 0, which is what its description then reports.
    HDC screen = GetDC(nullptr);
    const int dpiY = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    logFont.lfHeight = style::PointSizeToHeight(points, dpiY);
    logFont.lfWidth = 0;
    RemakeFont();
    RedrawLabel();
    return *this;
}

CTextLabel& CTextLabel::SetSunkenEdge(bool sunken) {
    ChangeStyle(GWL_EXSTYLE, WS_EX_STATICEDGE, sunken, true);
    return *this;
}

CTextLabel& CTextLabel::SetThinBorder(bool border) {
    ChangeStyle(GWL_STYLE, WS_BORDER, border, true);
    return *this;
}

CTextLabel& CTextLabel::SetSeeThrough(bool seeThrough) {
    state.seeThrough = seeThrough;
    ChangeStyle(GWL_EXSTYLE, WS_EX_TRANSPARENT, true, false);
    RedrawLabel();
    return *this;
}

CTextLabel& CTextLabel::BlinkText(bool blink) {
    ApplyTimerChange(style::ApplyBlinkText(state, blink));
    return *this;
}

CTextLabel& CTextLabel::BlinkBackground(bool blink) {
    ApplyTimerChange(style::ApplyBlinkBackground(state, blink));
    return *this;
}

CTextLabel& CTextLabel::SetClickable(bool clickable, bool notify) {
    return SetClickableMode(1, clickable, notify);
}

CTextLabel& CTextLabel::SetHoverCursor(HCURSOR cursor) {
    hoverCursor = cursor;
    return *this;
}

CTextLabel& CTextLabel::SetEmboss(bool emboss, int direction) {
    state.emboss = emboss;
    state.embossDirection = direction;
    RedrawLabel();
    return *this;
}

CTextLabel& CTextLabel::SetAngle(int degrees, bool rotated) {
    logFont.lfEscapement = style::TenthsOfDegree(degrees);
    logFont.lfOrientation = style::TenthsOfDegree(degrees);
    state.rotated = rotated;
    RemakeFont();
    RedrawLabel();
    return *this;
}

CTextLabel& CTextLabel::SetEmbossColour(COLORREF colour) {
    state.embossColour = style::FromColourRef(colour);
    RedrawLabel();
    return *this;
}

CTextLabel& CTextLabel::SetLogicalFont(const LOGFONTA& description) {
    logFont = description;
    RemakeFont();
    RedrawLabel();
    return *this;
}

CTextLabel& CTextLabel::SetClickableAlt(bool clickable, bool notify) {
    return SetClickableMode(2, clickable, notify);
}

CTextLabel& CTextLabel::SetTarget(const std::string& target) {
    state.target = target;
    return *this;
}

CTextLabel& CTextLabel::SetClickableMode(int mode, bool clickable, bool notify) {
    const DWORD style = hwnd != nullptr ? static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)) : 0;
    const DWORD changed = style::ApplyClickable(state, mode, clickable, notify, style);
    if (hwnd != nullptr) {
        SetWindowLongPtrA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(changed));
    }
    return *this;
}

void CTextLabel::ApplyTimerChange(const style::BlinkTimerChange& change) {
    if (change.stop && hwnd != nullptr) {
        KillTimer(hwnd, style::kLabelBlinkTimerId);
    }
    if (change.start &&
        (hwnd == nullptr || SetTimer(hwnd, style::kLabelBlinkTimerId, style::kLabelBlinkIntervalMs, nullptr) == 0)) {
        state.blinkTimerRunning = false;
    }
}

void CTextLabel::ChangeStyle(int index, DWORD bits, bool on, bool frameChanged) {
    if (hwnd == nullptr) {
        return;
    }
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, index));
    SetWindowLongPtrA(hwnd, index, static_cast<LONG_PTR>(style::WithStyleBits(style, bits, on)));
    if (frameChanged) {
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CTextLabel::RedrawLabel() {
    if (hwnd == nullptr) {
        return;
    }
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HWND parent = GetParent(hwnd);
    if (parent == nullptr) {
        return;
    }
    RECT area{};
    GetWindowRect(hwnd, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    InvalidateRect(parent, &area, TRUE);
    UpdateWindow(parent);
}

// ---- Messages ----------------------------------------------------------------

LRESULT CALLBACK CTextLabel::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                          DWORD_PTR refData) {
    auto* self = reinterpret_cast<CTextLabel*>(refData);
    if (msg == WM_NCDESTROY) {
        self->Detach();
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    return self->HandleMessage(msg, wParam, lParam);
}

LRESULT CTextLabel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return TRUE;  // everything is drawn on WM_PAINT
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        break;
    case WM_SETCURSOR:
        if (hoverCursor != nullptr) {
            SetCursor(hoverCursor);
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown();
        break;  // the static itself then sends STN_CLICKED when it has SS_NOTIFY
    case WM_SYSCOLORCHANGE:
        OnSysColorChange();
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void CTextLabel::OnTimer(WPARAM timerId) {
    if (timerId != style::kLabelBlinkTimerId) {
        return;
    }
    style::ToggleBlinkPhase(state);
    RedrawLabel();
}

void CTextLabel::OnLeftButtonDown() {
    if (!state.notify) {
        return;
    }
    const int id = GetDlgCtrlID(hwnd);
    NMHDR header{};
    header.hwndFrom = hwnd;
    header.idFrom = static_cast<UINT_PTR>(id);
    header.code = style::kLabelClickNotification;
    SendMessageA(GetParent(hwnd), WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
}

void CTextLabel::OnSysColorChange() {
    standardBrush.Reset(MakeButtonFaceBrush());
    RedrawLabel();
}

// ---- Painting ----------------------------------------------------------------

void CTextLabel::OnPaint() {
    PAINTSTRUCT paint{};
    HDC screen = BeginPaint(hwnd, &paint);
    if (screen == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(hwnd, &client);
    const std::string text = WindowText(hwnd);
    if (state.seeThrough) {
        PaintOnto(screen, client, text);
    } else {
        COffscreenDC offscreen(screen, &client);
        PaintOnto(offscreen, client, text);
    }
    EndPaint(hwnd, &paint);
}

void CTextLabel::PaintOnto(HDC dc, const RECT& client, const std::string& text) const {
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColour = SetTextColor(dc, style::ToColourRef(state.textColour));
    {
        ScopedSelectObject selectFont(dc, font.Get());
        FillBackground(dc, client);
        SetTextColor(dc, style::ToColourRef(style::PaintTextColour(state)));
        if (state.rotated) {
            DrawRotated(dc, client, text);
        } else {
            DrawFlat(dc, client, text);
        }
    }
    SetBkMode(dc, previousMode);
    SetTextColor(dc, previousColour);
}

void CTextLabel::FillBackground(HDC dc, const RECT& client) const {
    switch (style::ChooseBackground(state)) {
    case style::LabelBackground::None:
        break;
    case style::LabelBackground::OwnBrush:
        FillRect(dc, &client, ownBrush.Get());
        break;
    case style::LabelBackground::StandardBrush:
        FillRect(dc, &client, standardBrush.Get());
        break;
    case style::LabelBackground::Gradient: {
        const style::Rect area{client.left, client.top, client.right, client.bottom};
        for (const style::GradientBand& band : style::GradientBands(area, state.backColour, state.gradientEnd)) {
            const RECT fill{band.fill.left, band.fill.top, band.fill.right, band.fill.bottom};
            GdiObject<HBRUSH> brush(CreateSolidBrush(style::ToColourRef(band.colour)));
            FillRect(dc, &fill, brush.Get());
        }
        break;
    }
    }
}

void CTextLabel::DrawRotated(HDC dc, const RECT& client, const std::string& text) const {
    const UINT previousAlign = SetTextAlign(dc, TA_BASELINE);
    POINT previousOrigin{};
    SetViewportOrgEx(dc, (client.left + client.right) / 2, (client.top + client.bottom) / 2, &previousOrigin);
    TextOutA(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
    SetViewportOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
    SetTextAlign(dc, previousAlign);
}

void CTextLabel::DrawFlat(HDC dc, const RECT& client, const std::string& text) const {
    const auto controlStyle = static_cast<std::uint32_t>(GetWindowLongPtrA(hwnd, GWL_STYLE));
    const UINT flags = DrawTextFlags(style::ChooseTextLayout(controlStyle, text));
    RECT area = client;
    DrawTextA(dc, text.c_str(), -1, &area, flags);
    if (!state.emboss) {
        return;
    }
    SetTextColor(dc, style::ToColourRef(state.embossColour));
    const style::Point shift = style::EmbossOffset(state.embossDirection);
    area = client;
    OffsetRect(&area, shift.x, shift.y);
    DrawTextA(dc, text.c_str(), -1, &area, flags);
}

}  // namespace tarnelix
