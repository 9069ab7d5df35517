#include "pages/win32/AdvancePage.h"

#include <commctrl.h>

#include <utility>

#include "common/AppSettings.h"
#include "common/TarnelixResource.h"
#include "ui/win32/SkinnedWindow.h"

namespace tarnelix {
namespace {

constexpr COLORREF kCheckBoxTextColour = RGB(70, 130, 180);
constexpr char kAdwareColumnTitle[] = "Application";
constexpr int kAdwareColumnWidth = 300;

struct Switch {
    int id;
    const IntSetting& setting;
};
const Switch kSwitches[] = {
    {IDC_PREVENT_HOME_PAGE, kPreventHomePageChangeSetting},
    {IDC_BLOCK_MESSENGER, kBlockMessengerSetting},
    {IDC_DISABLE_SCRIPT_DEBUGGER, kDisableIEScriptDebuggerSetting},
    {IDC_WATCH_MODERN_BROWSERS, kWatchModernBrowsersSetting},
};

UINT StateImage(bool checked) {
    return checked ? kStateImageChecked : kStateImageUnchecked;
}

}  // namespace

CAdvance::CAdvance(const ISkinSource& skin, Advance& model, MainWindow mainWindow)
    : CSkinnedPage(IDD_ADVANCE, skin, "Advanced.bmp"), model(model), mainWindow(std::move(mainWindow)) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
}

BOOL CAdvance::OnInitDialog() {
    for (const Switch& box : kSwitches) {
        CheckDlgButton(hwnd, box.id, model.IsSwitchOn(box.setting) ? BST_CHECKED : BST_UNCHECKED);
    }
    SetUpAdwareList();
    model.LoadAdwareList([this](const AdwareList& list) { ShowAdwareList(list); });
    model.CaptureStartPage();
    model.OnDisableIEScriptDebugger(IsChecked(IDC_DISABLE_SCRIPT_DEBUGGER));
    return FALSE;
}

void CAdvance::SetUpAdwareList() {
    HWND list = Item(IDC_ADWARE_LIST);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.cx = kAdwareColumnWidth;
    column.pszText = const_cast<char*>(kAdwareColumnTitle);
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
}

void CAdvance::ShowAdwareList(const AdwareList& adware) {
    HWND list = Item(IDC_ADWARE_LIST);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < adware.Count(); ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(adware.ItemAt(i).name.c_str());
        const auto index = SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        LVITEMA state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = StateImage(adware.ItemAt(i).checked);
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
    }
}

bool CAdvance::OnCommand(int id, int notifyCode, HWND) {
    if (notifyCode != BN_CLICKED) {
        return false;
    }
    switch (id) {
    case IDC_PREVENT_HOME_PAGE: model.OnPreventHomePageChange(IsChecked(id)); return true;
    case IDC_BLOCK_MESSENGER: OnBlockMessenger(); return true;
    case IDC_DISABLE_SCRIPT_DEBUGGER: model.OnDisableIEScriptDebugger(IsChecked(id)); return true;
    case IDC_WATCH_MODERN_BROWSERS:
        model.OnWatchModernBrowsers(IsChecked(id));
        mainWindow.watchModernBrowsersChanged();
        return true;
    default: return false;  // Enter and Escape stay on the page
    }
}

void CAdvance::OnBlockMessenger() {
    const bool checked = IsChecked(IDC_BLOCK_MESSENGER);
    model.OnBlockMessenger(checked);
    if (checked) {
        mainWindow.stopMessengerService();
    } else {
        mainWindow.restoreMessengerService();
    }
}

bool CAdvance::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (msg == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_ADWARE_LIST && header->code == LVN_ITEMCHANGED) {
            const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if (change->iItem >= 0) {
                model.OnAdwareItemChanged(static_cast<size_t>(change->iItem), change->uOldState, change->uNewState);
            }
        }
        result = 0;
        return header->idFrom == IDC_ADWARE_LIST;
    }
    // The check-box captions stand on the page's picture.
    if (AnswerEveryControlColour(msg, wParam, kCheckBoxTextColour, result)) {
        return true;
    }
    return CSkinnedPage::OnMessage(msg, wParam, lParam, result);
}

}  // namespace tarnelix
