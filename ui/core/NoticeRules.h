#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/AppSettings.h"
#include "common/Counters.h"
#include "platform/Settings.h"
#include "ui/core/Clock.h"

namespace tarnelix {

// The timed notice (CNotification): which notice to show, when, and what
// it leaves in the "Notifications" section. The window loads the bitmap,
// places and shows itself; this decides everything before that.

enum class NotificationKind {
    StartUp = 1,
    CheckUpdates = 2,
    DownloadsUpdates = 3,  // kept with its bitmap and value; nothing requests it
    InstalledUpdates = 4,
    AddOnNotice = 5,
};

// Five minutes between two notices of any kind.
inline constexpr std::int64_t kNoticeSpacingSeconds = 300;
// The update reminder comes back after 4 days, the add-on notice after 3.
inline constexpr std::int64_t kCheckUpdatesIntervalSeconds = 345600;
inline constexpr std::int64_t kAddOnNoticeIntervalSeconds = 259200;
// How long a notice stays on screen (timer 100) and how often the window's
// own timer 101 asks for the periodic notices.
inline constexpr unsigned kNoticeDisplayMilliseconds = 5000;
inline constexpr unsigned kNoticeTickMilliseconds = 60000;
inline constexpr unsigned kNoticeHideTimerId = 100;
inline constexpr unsigned kNoticeTickTimerId = 101;
// Dialog template 185 and its two numeric labels.
inline constexpr int kNoticeTemplateId = 185;
inline constexpr int kNoticeLabelTotalKillsId = 1052;
inline constexpr int kNoticeLabelAddOnRunsId = 1053;

// The bitmap of a kind, a name in the notifications folder ("StartUp1.bmp");
// empty for a value outside the five kinds.
std::string NoticeBitmapFile(NotificationKind kind);
// The "Notifications" value a kind writes; nullptr outside the five kinds.
const TextSetting* NoticeSetting(NotificationKind kind);

struct NoticeDecision {
    bool show = false;
    std::string bitmapFile;  // name only, e.g. "StartUp1.bmp"
    bool showLabels = false;
    std::string label1052;  // popup total + adware total
    std::string label1053;  // add-on runs
    bool clearInstalledFlag = false;
};

// The state of ShowNotice that lives in memory for the whole run: the
// last-shown stamp (empty at start, so the first notice of a run is always
// eligible) and the installed-updates flag.
class NoticeGate {
public:
    NoticeGate(ISettings& settings, const IClock& clock);

    // Steps 1 to 5 of ShowNotice. The registry writes of the kind happen
    // here, so they stay written even when the window then fails to load
    // the bitmap. With "Disable" checked nothing is decided, written or
    // cleared.
    NoticeDecision Decide(NotificationKind kind, bool disableChecked, const Counters& counters);
    // The notice is on screen: the spacing counts from now on. Uses the
    // time of the Decide that allowed it, so both steps see one "now".
    void Shown();

    // WM_TARNELIX_INSTALLED_UPDATES arrived.
    void SetInstalledUpdates() { installedUpdates = true; }
    bool InstalledUpdatesPending() const { return installedUpdates; }
    const std::string& LastShownStamp() const { return lastShown; }

private:
    bool SpacingElapsed(std::int64_t now);
    bool PassesKindGate(NotificationKind kind, std::int64_t now, NoticeDecision& decision);
    bool IntervalGate(const TextSetting& setting, std::int64_t now, std::int64_t interval, bool showWhenMissing);
    void Write(const TextSetting& setting, const std::string& stamp);

    ISettings& settings;
    const IClock& clock;
    std::string lastShown;
    bool installedUpdates = false;
    std::int64_t decidedAt = 0;
    bool haveDecidedAt = false;
};

// Label 1052 shows popup total + adware total. The sum is taken in 64 bits:
// two totals near INT32_MAX read from an edited registry must not wrap to a
// negative count on the notice.
std::string TotalKillsLabel(const Counters& counters);
std::string AddOnRunsLabel(const Counters& counters);

// What timer 101 asks for, in order. The update reminder and the add-on
// notice need a connection; the installed-updates notice does not. With
// the five-minute spacing at most one of them appears per tick.
std::vector<NotificationKind> TimerTickKinds(bool online);

}  // namespace tarnelix
