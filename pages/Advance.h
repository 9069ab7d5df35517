#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/AppSettings.h"
#include "pages/AdwareList.h"
#include "platform/BrowserKey.h"
#include "platform/Files.h"
#include "platform/Settings.h"
#include "platform/TextCompare.h"

// File of the adware list, in the program folder.
inline constexpr char kAdwareFileName[] = "Adware.dat";
// Values of the browser key.
inline constexpr char kStartPageValue[] = "Start Page";
inline constexpr char kScriptDebuggerValue[] = "Disable Script Debugger";

// Item state bits of the adware list view, as its item-change notice gives
// them: the state image sits in bits 12 to 15; with check boxes image 1 is
// the clear box and image 2 the checked one. 0 means no state at all (an
// item that is only being inserted).
inline constexpr std::uint32_t kStateImageMask = 0xF000;
inline constexpr std::uint32_t kStateImageUnchecked = 0x1000;
inline constexpr std::uint32_t kStateImageChecked = 0x2000;

// The browser's "Start Page"; empty when it cannot be read.
std::string ReadStartPage(const IBrowserKey& browser);
// Sets "Start Page"; a key that cannot be opened is left alone.
void WriteStartPage(IBrowserKey& browser, const std::string& page);

// The advanced page without its window: the four switches, the adware list
// with its key table, and the start page the home-page lock protects. The
// scanner and the home-page guard query it from the main window's timer, on
// the same thread. Everything given must outlive it.
class Advance {
public:
    // `path` is program folder + kAdwareFileName.
    Advance(IFileStore& store, const ITextCompare& compare, ISettings& settings, IBrowserKey& browser,
            std::string path);

    // Reads "Adware.dat" into the list (at most 10000 lines), lets `show`
    // put the items into the list control, and only then counts the list as
    // loaded: the check marks set while showing cause no save. False when
    // the file could not be opened (the list is then empty; it still counts
    // as loaded).
    bool LoadAdwareList(const std::function<void(const AdwareList&)>& show);
    // Rewrites "Adware.dat" from the list, in list order; false when the save
    // failed (the old file then stays as it was).
    bool SaveAdwareList();
    // True from a failed save until a save succeeds; the list keeps the
    // change meanwhile.
    bool AdwareUnsaved() const { return adwareUnsaved; }
    bool IsAdwareLoaded() const { return adwareLoaded; }

    // The item-state change notice of the list for item `index`. Takes the
    // item's check mark into the list, then, once the list is loaded, saves
    // when the item's old state was not empty and its new one shows the
    // check mark, or its new state is not empty and its old one showed it:
    // every setting and clearing of a box, and also a selection change of a
    // checked item (which rewrites the file unchanged). True when it saved.
    bool OnAdwareItemChanged(std::size_t index, std::uint32_t oldState, std::uint32_t newState);

    // The display name whose key equals `key` exactly (keys are stored
    // lower-case).
    std::optional<std::string> FindAdwareName(std::string_view key) const;
    // The check mark of the first item, in list order, whose text begins with
    // `name` ignoring case; false when there is none.
    bool IsAdwareChecked(std::string_view name) const;

    // Initialisation: the start page as it stands now is the one to protect
    // for the rest of the run.
    void CaptureStartPage() { protectedStartPage = ReadStartPage(browser); }
    const std::string& GetProtectedStartPage() const { return protectedStartPage; }

    // The stored state of one of the four switches (its default when
    // missing).
    bool IsSwitchOn(const IntSetting& setting) const;
    // The switches: each stores the box's state as it reports it.
    void OnPreventHomePageChange(bool checked);
    void OnBlockMessenger(bool checked);
    // Also sets the browser's "Disable Script Debugger" to "yes" or "no"; run
    // at every start too, so the browser follows the stored choice.
    void OnDisableIEScriptDebugger(bool checked);
    // The browser watcher for today's browsers (on by default).
    void OnWatchModernBrowsers(bool checked);

    const AdwareList& List() const { return list; }
    const std::string& Path() const { return path; }

private:
    IFileStore& store;
    const ITextCompare& compare;
    ISettings& settings;
    IBrowserKey& browser;
    std::string path;
    AdwareList list;
    bool adwareLoaded = false;
    bool adwareUnsaved = false;
    std::string protectedStartPage;
};
