#include "app/core/BrowserWatch.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "hook/ProcessKind.h"

namespace {

constexpr std::uint32_t kCaptionStyle = 0x00C00000u;     // WS_CAPTION (border and title bar)
constexpr std::uint32_t kSystemMenuStyle = 0x00080000u;  // WS_SYSMENU
constexpr std::uint32_t kKeyDown = 0x0100;               // WM_KEYDOWN
constexpr std::uint32_t kSystemKeyDown = 0x0104;         // WM_SYSKEYDOWN: with Alt, or F10
constexpr std::uint32_t kLeftButtonUp = 0x0202;
constexpr std::uint32_t kMiddleButtonUp = 0x0208;

bool EqualsIgnoringCase(const std::string& text, const char* other)
{
    return hookrule_detail::EqualsIgnoringCase(text.c_str(), other);
}

// Signed, so that a tick a little before `since` (the tick count read at
// another moment) is not taken for one 49 days later.
std::int32_t Elapsed(std::uint32_t since, std::uint32_t tick)
{
    return static_cast<std::int32_t>(tick - since);
}

}  // namespace

const ModernBrowser* FindModernBrowser(const std::string& programPath)
{
    if (ProcessKindFromPath(programPath.c_str()) != ProcessKind::NotWatched) {
        return nullptr;
    }
    const std::string name = hookrule_detail::FileNamePart(programPath.c_str());
    const auto found = std::find_if(std::begin(kModernBrowsers), std::end(kModernBrowsers),
                                    [&](const ModernBrowser& browser) { return EqualsIgnoringCase(name, browser.programName); });
    return found != std::end(kModernBrowsers) ? found : nullptr;
}

bool IsModernFrameClass(const std::string& className)
{
    return EqualsIgnoringCase(className, kChromiumFrameClass) || EqualsIgnoringCase(className, kFirefoxFrameClass);
}

bool HasFrameShape(const WindowShape& shape)
{
    const std::uint32_t frameBits = kCaptionStyle | kSystemMenuStyle;
    return shape.topLevel && !shape.owned && (shape.style & frameBits) == frameBits;
}

void UserActionTable::Stamp(std::uint32_t processId, std::uint32_t tick)
{
    Slot* slot = std::find_if(std::begin(slots), std::end(slots), [&](const Slot& s) { return s.processId == processId; });
    if (slot == std::end(slots)) {
        slot = std::min_element(std::begin(slots), std::end(slots), [&](const Slot& a, const Slot& b) {
            return Elapsed(a.tick, tick) > Elapsed(b.tick, tick);
        });
    }
    *slot = {processId, tick, true};
}

bool UserActionTable::TakeAction(std::uint32_t processId, std::uint32_t tick)
{
    for (Slot& slot : slots) {
        if (slot.processId == processId && slot.unused) {
            const std::int32_t age = Elapsed(slot.tick, tick);
            const bool qualifies = age >= 0 && age <= static_cast<std::int32_t>(kUserActionWindowMs);
            slot.unused = !qualifies && age < 0;  // a later action still counts for a later frame
            return qualifies;
        }
    }
    return false;
}

CBrowserWatcher::CBrowserWatcher(const IWatchedWindows& windows, Report report)
    : windows(windows), report(std::move(report))
{
}

void CBrowserWatcher::OnInput(bool keyboard, std::uint32_t message, std::uint32_t tick)
{
    const bool action = keyboard ? (message == kKeyDown || message == kSystemKeyDown)
                                 : (message == kLeftButtonUp || message == kMiddleButtonUp);
    if (!action) {
        return;
    }
    if (const std::uint32_t processId = windows.ForegroundProcessId(); processId != 0) {
        actions.Stamp(processId, tick);
    }
}

void CBrowserWatcher::OnWindowCreated(WindowId window, std::uint32_t tick)
{
    // Cheapest question first: nearly every window on the desktop fails the
    // class, and only a frame is worth asking its process about.
    const std::string className = windows.ClassName(window);
    if (!IsModernFrameClass(className)) {
        return;
    }
    const std::optional<WindowShape> shape = windows.Shape(window);
    if (!shape || !HasFrameShape(*shape)) {
        return;
    }
    const std::optional<ProcessFacts> process = windows.Process(shape->processId);
    const ModernBrowser* browser = process ? FindModernBrowser(process->programPath) : nullptr;
    // A Firefox frame class in a Chrome process is not a Chrome frame.
    if (browser == nullptr || !EqualsIgnoringCase(className, browser->frameClass)) {
        return;
    }
    report(window, IsPopup(shape->processId, process->startTick, tick));
}

bool CBrowserWatcher::IsPopup(std::uint32_t processId, std::uint32_t processStartTick, std::uint32_t frameTick)
{
    if (Elapsed(processStartTick, frameTick) < static_cast<std::int32_t>(kSessionRestoreMs)) {
        return false;
    }
    return !actions.TakeAction(processId, frameTick);
}
