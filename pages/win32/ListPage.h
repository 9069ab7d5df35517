// Base of the list pages: a child dialog of the main window with a skin
// picture behind it, two XP-style buttons and a list box that mirrors a
// SortedTextList. The model decides the order; the list box only shows it,
// so both always agree index for index.
#pragma once
#include <windows.h>

#include <array>

#include "pages/SortedTextList.h"
#include "platform/win32/Dialog.h"
#include "ui/win32/XPButton.h"
#include "ui/windows/SkinSource.h"

namespace tarnelix {

class CListPage : public CDialog {
public:
    struct Layout {
        int templateId;
        int listBoxId;
        std::array<int, 2> buttonIds;
        const char* bitmapName;
    };
    CListPage(const ISkinSource& skin, const Layout& layout);
    ~CListPage() override;

    void Show(bool show) { ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE); }

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    // Refills the list box from the model, marks included.
    void ShowList(const SortedTextList& list);
    // Inserts the model's entry `index` into the list box at the same place;
    // the list box moves the user's marks below it along.
    void InsertShown(const SortedTextList& list, size_t index);
    // Takes the user's selection marks from the list box into the model.
    void TakeSelection(SortedTextList& list);

private:
    Layout layout;
    HBITMAP bitmap = nullptr;
    std::array<CXPButton, 2> buttons;
};

}  // namespace tarnelix
