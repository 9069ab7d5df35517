#include "pages/Advance.h"

#include <utility>

#include "pages/ListFiles.h"

namespace {

bool ShowsCheckMark(std::uint32_t state)
{
    return (state & kStateImageMask) == kStateImageChecked;
}

}  // namespace

std::string ReadStartPage(const IBrowserKey& browser)
{
    return browser.ReadString(kStartPageValue).value_or(std::string());
}

void WriteStartPage(IBrowserKey& browser, const std::string& page)
{
    browser.WriteString(kStartPageValue, page);
}

Advance::Advance(IFileStore& store, const ITextCompare& compare, ISettings& settings, IBrowserKey& browser,
                 std::string path)
    : store(store), compare(compare), settings(settings), browser(browser), path(std::move(path)), list(compare)
{
}

bool Advance::LoadAdwareList(const std::function<void(const AdwareList&)>& show)
{
    const bool opened = ReadAdwareFile(store, path, compare, list, kMaxListLines);
    show(list);
    adwareLoaded = true;
    return opened;
}

bool Advance::SaveAdwareList()
{
    adwareUnsaved = !WriteAdwareFile(store, path, list);
    return !adwareUnsaved;
}

bool Advance::OnAdwareItemChanged(std::size_t index, std::uint32_t oldState, std::uint32_t newState)
{
    const std::uint32_t image = newState & kStateImageMask;
    if (image == kStateImageChecked || image == kStateImageUnchecked) {
        list.SetChecked(index, image == kStateImageChecked);
    }
    if (!adwareLoaded) {
        return false;
    }
    if ((oldState != 0 && ShowsCheckMark(newState)) || (newState != 0 && ShowsCheckMark(oldState))) {
        SaveAdwareList();
        return true;
    }
    return false;
}

std::optional<std::string> Advance::FindAdwareName(std::string_view key) const
{
    return list.FindNameByKey(key);
}

bool Advance::IsAdwareChecked(std::string_view name) const
{
    return list.IsCheckedByPrefix(name);
}

bool Advance::IsSwitchOn(const IntSetting& setting) const
{
    return ReadSetting(settings, setting) != 0;
}

void Advance::OnPreventHomePageChange(bool checked)
{
    WriteSetting(settings, kPreventHomePageChangeSetting, checked ? 1 : 0);
}

void Advance::OnBlockMessenger(bool checked)
{
    WriteSetting(settings, kBlockMessengerSetting, checked ? 1 : 0);
}

void Advance::OnWatchModernBrowsers(bool checked)
{
    WriteSetting(settings, kWatchModernBrowsersSetting, checked ? 1 : 0);
}

void Advance::OnDisableIEScriptDebugger(bool checked)
{
    WriteSetting(settings, kDisableIEScriptDebuggerSetting, checked ? 1 : 0);
    browser.WriteString(kScriptDebuggerValue, checked ? "yes" : "no");
}
