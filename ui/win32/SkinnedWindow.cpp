#include "ui/win32/SkinnedWindow.h"

#include "ui/win32/OffscreenDC.h"

namespace tarnelix {
namespace {

bool BitmapSize(HBITMAP bitmap, SIZE& size) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof(info), &info) == 0) {
        return false;
    }
    size = SIZE{info.bmWidth, info.bmHeight};
    return true;
}

}  // namespace

bool EraseWithBitmap(HWND /*window*/, HDC dc, HBITMAP bitmap) {
    SIZE size{};
    if (!BitmapSize(bitmap, size)) {
        return false;
    }
    HDC memory = CreateCompatibleDC(dc);
    if (memory == nullptr) {
        return false;
    }
    {
        ScopedSelectObject select(memory, bitmap);
        BitBlt(dc, 0, 0, size.cx, size.cy, memory, 0, 0, SRCCOPY);
    }
    DeleteDC(memory);
    return true;
}

HBRUSH TransparentControlColour(HDC dc, std::optional<COLORREF> textColour) {
    SetBkMode(dc, TRANSPARENT);
    if (textColour) {
        SetTextColor(dc, *textColour);
    }
    return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
}

bool AnswerEraseWithBitmap(HWND window, WPARAM dc, HBITMAP bitmap, INT_PTR& result) {
    if (!EraseWithBitmap(window, reinterpret_cast<HDC>(dc), bitmap)) {
        return false;
    }
    result = TRUE;
    return true;
}

bool AnswerEveryControlColour(UINT msg, WPARAM dc, COLORREF textColour, INT_PTR& result) {
    switch (msg) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        result = reinterpret_cast<INT_PTR>(TransparentControlColour(reinterpret_cast<HDC>(dc), textColour));
        return true;
    default:
        return false;
    }
}

void SizeClientToBitmap(HWND window, HBITMAP bitmap) {
    SIZE size{};
    RECT outer{};
    RECT client{};
    if (!BitmapSize(bitmap, size) || !GetWindowRect(window, &outer) || !GetClientRect(window, &client)) {
        return;
    }
    const int frameWidth = (outer.right - outer.left) - (client.right - client.left);
    const int frameHeight = (outer.bottom - outer.top) - (client.bottom - client.top);
    SetWindowPos(window, nullptr, 0, 0, size.cx + frameWidth, size.cy + frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tarnelix
