// The two reactions every bitmap-backed window shares (background erase and
// control colours), and the sizing of windows that take their bitmap's size.
#pragma once
#include <windows.h>

#include <optional>

namespace tarnelix {

// WM_ERASEBKGND of a skinned window: copies the whole bitmap to (0, 0) of dc
// (a plain copy; parts of the window beyond the bitmap stay unpainted).
// False when there is no bitmap, so the caller lets the system erase.
bool EraseWithBitmap(HWND window, HDC dc, HBITMAP bitmap);

// WM_CTLCOLOR* answer for a control that shows the picture through: a
// transparent background, the text colour when given, and the stock hollow
// brush so the control's area is not filled.
HBRUSH TransparentControlColour(HDC dc, std::optional<COLORREF> textColour);

// Sets the window's outer size to the bitmap's size plus its frame, so that
// the client area equals the picture. Nothing happens without a bitmap.
void SizeClientToBitmap(HWND window, HBITMAP bitmap);

}  // namespace tarnelix
