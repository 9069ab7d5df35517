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

// The two reactions as answers of a dialog's message handler: true, with
// the result to return, when the message was answered. An erase without a
// bitmap is left to the system.
bool AnswerEraseWithBitmap(HWND window, WPARAM dc, HBITMAP bitmap, INT_PTR& result);
// For windows whose every control shows the picture through (the main
// window, the message box, the add-on window).
bool AnswerEveryControlColour(UINT msg, WPARAM dc, COLORREF textColour, INT_PTR& result);

// Sets the window's outer size to the bitmap's size plus its frame, so that
// the client area equals the picture. Nothing happens without a bitmap.
void SizeClientToBitmap(HWND window, HBITMAP bitmap);

}  // namespace tarnelix
