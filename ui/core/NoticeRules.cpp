#include "ui/core/NoticeRules.h"

#include "ui/core/Stamps.h"

namespace tarnelix {

std::string NoticeBitmapFile(NotificationKind kind)
{
    switch (kind) {
    case NotificationKind::StartUp:
        return "StartUp1.bmp";
    case NotificationKind::CheckUpdates:
        return "CheckUpdates.bmp";
    case NotificationKind::DownloadsUpdates:
        return "DownloadsUpdates.bmp";
    case NotificationKind::InstalledUpdates:
        return "InstalledUpdates.bmp";
    case NotificationKind::AddOnNotice:
        return "Veilmark.bmp";
    }
    return std::string();
}

const TextSetting* NoticeSetting(NotificationKind kind)
{
    switch (kind) {
    case NotificationKind::StartUp:
        return &kLastShowStartUpSetting;
    case NotificationKind::CheckUpdates:
        return &kLastCheckUpdatesSetting;
    case NotificationKind::DownloadsUpdates:
        return &kLastShowDownloadUpdatesSetting;
    case NotificationKind::InstalledUpdates:
        return &kLastShowInstallUpdatesSetting;
    case NotificationKind::AddOnNotice:
        return &kLastShowVeilmarkSetting;
    }
    return nullptr;
}

std::string TotalKillsLabel(const Counters& counters)
{
    const std::int64_t total = static_cast<std::int64_t>(counters.popupTotal) + counters.adwareTotal;
    return std::to_string(total);
}

std::string AddOnRunsLabel(const Counters& counters)
{
    return std::to_string(counters.addOnTotal);
}

std::vector<NotificationKind> TimerTickKinds(bool online)
{
    if (online) {
        return {NotificationKind::CheckUpdates, NotificationKind::AddOnNotice, NotificationKind::InstalledUpdates};
    }
    return {NotificationKind::InstalledUpdates};
}

NoticeGate::NoticeGate(ISettings& settings, const IClock& clock) : settings(settings), clock(clock) {}

NoticeDecision NoticeGate::Decide(NotificationKind kind, bool disableChecked, const Counters& counters)
{
    NoticeDecision decision;
    if (disableChecked) {
        return decision;
    }
    const std::int64_t now = clock.Now();
    if (!SpacingElapsed(now)) {
        return decision;
    }
    if (!PassesKindGate(kind, now, decision)) {
        return decision;
    }
    decision.show = true;
    decision.bitmapFile = NoticeBitmapFile(kind);
    if (decision.showLabels) {
        decision.label1052 = TotalKillsLabel(counters);
        decision.label1053 = AddOnRunsLabel(counters);
    }
    decidedAt = now;
    haveDecidedAt = true;
    return decision;
}

void NoticeGate::Shown()
{
    lastShown = FormatStamp(haveDecidedAt ? decidedAt : clock.Now());
    haveDecidedAt = false;
}

// The first request of a run starts the spacing without waiting for it. A
// clock set back before the stamp gives a negative difference, which also
// waits, until the clock has passed the stamp again.
bool NoticeGate::SpacingElapsed(std::int64_t now)
{
    if (lastShown.empty()) {
        lastShown = FormatStamp(now);
        return true;
    }
    const std::int64_t elapsed = now - ReadStamp(lastShown);
    return elapsed >= kNoticeSpacingSeconds;
}

bool NoticeGate::PassesKindGate(NotificationKind kind, std::int64_t now, NoticeDecision& decision)
{
    switch (kind) {
    case NotificationKind::StartUp:
        decision.showLabels = true;
        // The stamp as it stands: on the start-up request it is the time
        // just taken, since a run begins with an empty stamp.
        Write(kLastShowStartUpSetting, lastShown);
        return true;
    case NotificationKind::CheckUpdates:
        // A machine without the value gets it stored and the reminder only
        // after four days, not at the first tick.
        return IntervalGate(kLastCheckUpdatesSetting, now, kCheckUpdatesIntervalSeconds, false);
    case NotificationKind::DownloadsUpdates:
        Write(kLastShowDownloadUpdatesSetting, FormatStamp(now));
        return true;
    case NotificationKind::InstalledUpdates:
        if (!installedUpdates) {
            return false;
        }
        // The previous notice's time (or now, if none was shown this run):
        // what the value has always recorded.
        Write(kLastShowInstallUpdatesSetting, lastShown);
        installedUpdates = false;
        decision.clearInstalledFlag = true;
        return true;
    case NotificationKind::AddOnNotice:
        return IntervalGate(kLastShowVeilmarkSetting, now, kAddOnNoticeIntervalSeconds, true);
    }
    return false;
}

// An unreadable stored time reads as -1 and so counts as long ago.
bool NoticeGate::IntervalGate(const TextSetting& setting, std::int64_t now, std::int64_t interval,
                              bool showWhenMissing)
{
    const std::string stored = ReadSetting(settings, setting);
    if (stored.empty()) {
        Write(setting, FormatStamp(now));
        return showWhenMissing;
    }
    if (now - ReadStamp(stored) < interval) {
        return false;
    }
    Write(setting, FormatStamp(now));
    return true;
}

// A failed registry write changes nothing for the notice: failures are
// silent and the notice still appears.
void NoticeGate::Write(const TextSetting& setting, const std::string& stamp)
{
    WriteSetting(settings, setting, stamp);
}

}  // namespace tarnelix
