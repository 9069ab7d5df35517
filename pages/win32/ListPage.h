// Base of the option pages: a child dialog of the main window whose list box
// mirrors a SortedTextList. The model decides the order; the list box only
// shows it, so both always agree index for index.
#pragma once
#include <windows.h>

#include "pages/SortedTextList.h"
#include "platform/win32/Dialog.h"

namespace tarnelix {

class CListPage : public CDialog {
public:
    CListPage(int templateId, int listBoxId) : CDialog(templateId), listBoxId(listBoxId) {}

    void Show(bool show) { ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE); }

protected:
    // Refills the list box from the model, marks included.
    void ShowList(const SortedTextList& list);
    // Takes the user's selection marks from the list box into the model.
    void TakeSelection(SortedTextList& list);

private:
    int listBoxId;
};

}  // namespace tarnelix
