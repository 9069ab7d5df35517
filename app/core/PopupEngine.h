#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/Counters.h"
#include "pages/AllowedBanners.h"
#include "pages/BlockedHistory.h"
#include "platform/Desktop.h"
#include "platform/Sound.h"

// What the engine asks of the main window. The check boxes are read at each
// decision and never cached, so a click takes effect with the next message
// or tick.
class IEngineHost {
public:
    virtual ~IEngineHost() = default;
    virtual bool IsDisableChecked() const = 0;       // 1048
    virtual bool IsAutoBlockChecked() const = 0;     // 1047
    virtual bool IsPlaySoundChecked() const = 0;     // 1045
    virtual bool IsNotificationChecked() const = 0;  // 1046
    // Starts the sliding kill notice unless it is already showing.
    virtual void ShowKillNotice() = 0;
    // Shows popup total + adware total in the six digits (resetting the
    // counters when the sum outgrows them).
    virtual void RefreshCounterDisplay() = 0;
    // Writes the three totals to the registry.
    virtual void SaveCounters() = 0;
};

// Classes and titles of the boxes the timers close.
inline constexpr char kShellEmbeddingClass[] = "Shell Embedding";
// Exactly WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | 0x00010000.
inline constexpr std::uint32_t kBareShellEmbeddingStyle = 0x96010000u;
inline constexpr char kScriptErrorClass[] = "Internet Explorer_TridentDlgFrame";
inline constexpr char kScriptErrorTitle[] = "Internet Explorer Script Error";
inline constexpr char kMessengerBoxClass[] = "#32770";
// The trailing blank is part of the title the Messenger service gives.
inline constexpr char kMessengerBoxTitle[] = "Messenger Service ";

// Decides which windows are closed and closes them with the kill sound, the
// notice, the counters and the blocked history. Runs on the user-interface
// thread only; everything it is given must outlive it.
class CPopupEngine {
public:
    CPopupEngine(IDesktop& desktop, ISoundPlayer& sound, IEngineHost& host, AllowedBanners& allowed,
                 BlockedHistory& history, Counters& counters);

    // Folder that sound names without a backslash are taken from; ends in a
    // backslash.
    void SetSoundFolder(std::string folder) { soundFolder = std::move(folder); }
    // The "SoundFile" setting.
    void SetKillSoundPath(std::string path) { killSoundPath = std::move(path); }

    // The one closing operation. Lets the window through (false) when it is
    // null, no longer exists, Disable is checked, Ctrl is held or its title
    // is allowed; otherwise posts it the system close command and, when the
    // post went through, plays the kill sound, shows the notice, counts the
    // kill and records the title. A vanished window or a refused post is
    // neither counted nor recorded: that would report a failure as a kill.
    bool KillPopupWindow(WindowId window);
    // 100 popup, 101 adware, any other kind changes no counter; the counters
    // are saved and shown in every case.
    void CountKill(int kind);
    // Plays without waiting: an empty name plays nothing, a name with a
    // backslash is a full path, any other name is looked up in the sound
    // folder.
    void PlayNamedSound(const std::string& name);

    // Any program can post the hook library's two reports, with any handle.
    // A report is honoured only for a window the library reports: a
    // top-level window of a watched program or, in AOL, the parent of a
    // browser frame.
    bool IsGenuineReport(WindowId window) const;
    // WM_TARNELIX_KILL_POPUP_WINDOW: the hook library judged it a popup.
    void OnKillPopupWindowMessage(WindowId window);
    // WM_TARNELIX_NEW_WINDOW_CREATED: with AutoBlock off, a window titled
    // like a history entry is killed.
    void OnNewWindowCreatedMessage(WindowId window);
    // A frame of today's browsers, judged by the browser watcher, takes the
    // road of the hook library's two reports: with AutoBlock on a popup is
    // killed, with it off a frame titled like a history entry. The report
    // comes by a message any program could post too, so it is honoured
    // only for a top-level window of a browser the watcher watches.
    void OnBrowserFrame(WindowId window, bool popup);
    // Kills every visible top-level window whose title, trailing white space
    // removed, is a history entry.
    void SweepBlockedTitles();
    // Timer 51: at most one bare "Shell Embedding" popup and one script-error
    // box per tick. Each box is killed and counted once.
    void BrowserBoxStep();
    // Timer 50: closes one Messenger-service box per tick, whatever Ctrl and
    // the allowed list say, without recording it. Each box is counted once.
    void MessengerBoxStep();

private:
    void AnnounceKill();
    // Forgets the boxes of the list that are gone, so that a new box that
    // gets an old handle counts again.
    void ForgetVanished(std::vector<WindowId>& boxes) const;
    void KillBrowserBox(WindowId box);
    // AutoBlock off: a window titled like a history entry is killed.
    void KillIfBlockedTitle(WindowId window);

    IDesktop& desktop;
    ISoundPlayer& sound;
    IEngineHost& host;
    AllowedBanners& allowed;
    BlockedHistory& history;
    Counters& counters;
    std::string soundFolder;
    std::string killSoundPath;
    // The boxes closed and counted that still stand.
    std::vector<WindowId> countedMessengerBoxes;
    std::vector<WindowId> killedBrowserBoxes;
};
