#include "ui/win32/XPButton.h"

#include <commctrl.h>

#include <array>
#include <utility>

#include "platform/win32/Dialog.h"

namespace tarnelix {
namespace {

// Our subclass among any others on the control ("XP").
constexpr UINT_PTR kSubclassId = 0x5850;
// Window property that leads a parent's WM_DRAWITEM to the object.
// (GetWindowSubclass would do, but comctl32 exports it by ordinal only and
// MinGW's import library lacks it.)
constexpr char kObjectProperty[] = "TarnelixXPButton";

static_assert(style::kItemSelected == ODS_SELECTED);
static_assert(style::kItemDisabled == ODS_DISABLED);
static_assert(style::kItemFocus == ODS_FOCUS);
static_assert(style::kItemDefault == ODS_DEFAULT);

style::Rect ToRect(const RECT& rect) {
    return style::Rect{rect.left, rect.top, rect.right, rect.bottom};
}

HPEN MakePen(const style::PenStyle& pen) {
    return CreatePen(PS_INSIDEFRAME, pen.width, style::ToColourRef(pen.colour));
}

// BS_OWNERDRAW is a button type, not a flag: OR-ing it into a
// BS_DEFPUSHBUTTON (1) style would give 0xB by luck only, and into
// BS_CHECKBOX (2) a different type altogether.
LONG_PTR WithOwnerDrawType(LONG_PTR style) {
    return (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

}  // namespace

CXPButton::CXPButton()
    : borderPen(MakePen(style::kBorderPen)),
      hotPens(MakeFramePens(style::kHotFramePens)),
      focusPens(MakeFramePens(style::kFocusFramePens)) {}

CXPButton::~CXPButton() {
    Detach();
}

CXPButton::FramePenSet CXPButton::MakeFramePens(const style::FramePens& styles) {
    FramePenSet pens;
    pens.left.Reset(MakePen(styles.left));
    pens.top.Reset(MakePen(styles.top));
    pens.right.Reset(MakePen(styles.right));
    pens.bottom.Reset(MakePen(styles.bottom));
    return pens;
}

bool CXPButton::Attach(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    if (control == nullptr || hwnd != nullptr) {
        return false;
    }
    if (!SetWindowSubclass(control, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    hwnd = control;
    SetPropA(hwnd, kObjectProperty, this);
    OnAttach();
    return true;
}

void CXPButton::OnAttach() {
    SetWindowLongPtrA(hwnd, GWL_STYLE, WithOwnerDrawType(GetWindowLongPtrA(hwnd, GWL_STYLE)));
    InvalidateRect(hwnd, nullptr, TRUE);
}

void CXPButton::Detach() {
    if (hwnd != nullptr) {
        RemovePropA(hwnd, kObjectProperty);
        RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
        hwnd = nullptr;
    }
    hot = false;
    tracking = false;
}

bool CXPButton::HandleDrawItem(LPARAM drawItemStruct) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(drawItemStruct);
    if (item == nullptr || item->CtlType != ODT_BUTTON) {
        return false;
    }
    auto* button = static_cast<CXPButton*>(GetPropA(item->hwndItem, kObjectProperty));
    return button != nullptr && button->DrawItem(*item);
}

LRESULT CALLBACK CXPButton::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                         DWORD_PTR refData) {
    auto* self = reinterpret_cast<CXPButton*>(refData);
    if (msg == WM_NCDESTROY) {
        self->Detach();
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    return self->HandleMessage(msg, wParam, lParam);
}

LRESULT CXPButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_MOUSEHOVER:
        OnMouseHover();
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        break;
    case BM_SETSTYLE:
        // Whoever moves the default-button style around (BS_PUSHBUTTON <->
        // BS_DEFPUSHBUTTON) must not take the owner-draw type away with it.
        wParam = static_cast<WPARAM>(WithOwnerDrawType(static_cast<LONG_PTR>(wParam)));
        break;
    default:
        break;
    }
    // The button keeps its own handling (click, capture, the themed
    // control's own hot state); the subclass only watches.
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void CXPButton::OnMouseMove() {
    if (tracking) {
        return;
    }
    // A hover time of 1 ms lights the frame as soon as the pointer arrives.
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof(request);
    request.dwFlags = TME_HOVER | TME_LEAVE;
    request.hwndTrack = hwnd;
    request.dwHoverTime = 1;
    tracking = TrackMouseEvent(&request) != FALSE;
}

void CXPButton::OnMouseHover() {
    hot = true;
    InvalidateRect(hwnd, nullptr, TRUE);
}

void CXPButton::OnMouseLeave() {
    tracking = false;
    hot = false;
    InvalidateRect(hwnd, nullptr, FALSE);
}

bool CXPButton::DrawItem(const DRAWITEMSTRUCT& item) {
    if (hwnd == nullptr || item.hwndItem != hwnd) {
        return false;
    }
    COffscreenDC dc(item.hDC);
    const std::string caption = WindowText(hwnd);
    DrawBorder(dc, item.rcItem);

    const style::ButtonItemState state = style::DecodeItemState(item.itemState);
    focused = state.focused;
    emphasised = state.emphasised;

    const style::Rect face =
        style::FaceRect(ToRect(item.rcItem), GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
    PaintFace(dc, face);
    if (style::HasFrame(hot, focused)) {
        DrawFrame(dc, face, hot ? hotPens : focusPens);
    }
    if (!caption.empty()) {
        DrawCaption(dc, face, caption, state);
    }
    return true;
}

void CXPButton::DrawBorder(HDC dc, const RECT& item) const {
    // The brush is whatever the context holds: a fresh off-screen context
    // starts with the stock white brush.
    ScopedSelectObject pen(dc, borderPen.Get());
    RoundRect(dc, item.left, item.top, item.right, item.bottom, style::kCornerEllipse, style::kCornerEllipse);
}

void CXPButton::PaintFace(HDC dc, const style::Rect& face) const {
    std::array<GdiObject<HBRUSH>, style::kFaceBrushCount> brushes;
    for (int i = 0; i < style::kFaceBrushCount; ++i) {
        const style::Rgb colour = style::FaceColour(i, hot, emphasised);
        brushes[static_cast<size_t>(i)].Reset(CreateSolidBrush(style::ToColourRef(colour)));
    }
    for (const style::FaceRow& row : style::FaceRows(face)) {
        const RECT line{row.left, row.y, row.right, row.y + 1};
        FillRect(dc, &line, brushes[static_cast<size_t>(row.brush)].Get());
    }
}

void CXPButton::DrawFrame(HDC dc, const style::Rect& face, const FramePenSet& pens) const {
    const style::FrameLines lines = style::FrameLinesFor(face);
    const std::pair<const style::Line*, HPEN> strokes[] = {
        {&lines.left, pens.left.Get()},
        {&lines.right, pens.right.Get()},
        {&lines.top, pens.top.Get()},
        {&lines.bottom, pens.bottom.Get()},
    };
    for (const auto& [line, pen] : strokes) {
        ScopedSelectObject select(dc, pen);
        MoveToEx(dc, line->from.x, line->from.y, nullptr);
        LineTo(dc, line->to.x, line->to.y);
    }
}

void CXPButton::DrawCaption(HDC dc, const style::Rect& face, const std::string& caption,
                            const style::ButtonItemState& state) const {
    // Measured with the context's own (default) font: the button's font is
    // deliberately not selected into the off-screen context.
    const int length = static_cast<int>(caption.size());
    SIZE extent{};
    GetTextExtentPoint32A(dc, caption.c_str(), length, &extent);
    const style::Point at = style::CaptionPosition(face, extent.cx, extent.cy, state.pressed);
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    if (state.disabled) {
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(caption.c_str()), static_cast<WPARAM>(length), at.x,
                   at.y, 0, 0, DST_PREFIXTEXT | DSS_DISABLED);
    } else {
        TextOutA(dc, at.x, at.y, caption.c_str(), length);
    }
    SetBkMode(dc, previousMode);
}

}  // namespace tarnelix
