#include "ui/win32/OffscreenDC.h"

namespace tarnelix {

COffscreenDC::COffscreenDC(HDC target, const RECT* rect) : target(target), drawing(target) {
    if (rect != nullptr) {
        area = *rect;
    } else {
        GetClipBox(target, &area);
    }
    if (GetDeviceCaps(target, TECHNOLOGY) != DT_RASPRINTER) {
        offscreen = MakeOffscreen();
    }
    FillBackground();
}

bool COffscreenDC::MakeOffscreen() {
    HDC memory = CreateCompatibleDC(target);
    if (memory == nullptr) {
        return false;
    }
    RECT device = area;
    LPtoDP(target, reinterpret_cast<POINT*>(&device), 2);
    bitmap = CreateCompatibleBitmap(target, device.right - device.left, device.bottom - device.top);
    if (bitmap == nullptr) {
        DeleteDC(memory);
        return false;
    }
    replacedBitmap = SelectObject(memory, bitmap);
    SetMapMode(memory, GetMapMode(target));
    DPtoLP(target, reinterpret_cast<POINT*>(&device), 2);
    area = device;
    SetWindowOrgEx(memory, area.left, area.top, nullptr);
    drawing = memory;
    return true;
}

void COffscreenDC::FillBackground() {
    HBRUSH background = CreateSolidBrush(GetBkColor(target));
    if (background != nullptr) {
        FillRect(drawing, &area, background);
        DeleteObject(background);
    }
}

COffscreenDC::~COffscreenDC() {
    if (!offscreen) {
        return;
    }
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, drawing, area.left, area.top,
           SRCCOPY);
    SelectObject(drawing, replacedBitmap);
    DeleteObject(bitmap);
    DeleteDC(drawing);
}

}  // namespace tarnelix
