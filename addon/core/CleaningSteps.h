// The nine cleaning steps in run order, with their check boxes and their
// settings in the section "Settings" of the add-on's key (1 ticked, the
// default, or 0).
#pragma once

#include <array>
#include <cstddef>

#include "common/VeilmarkResource.h"

enum class CleaningStep : std::size_t {
    WindowsTemp,
    Cookies,
    BrowserHistory,
    BrowserTemp,
    VisitedSiteTraces,
    Clipboard,
    RecentDocuments,
    RunList,
    RecycleBin,
};
constexpr std::size_t kCleaningStepCount = 9;

struct CleaningStepInfo {
    CleaningStep step;
    int checkBoxId;
    const char* setting;
};

inline constexpr char kAddOnSettingsSection[] = "Settings";

inline constexpr std::array<CleaningStepInfo, kCleaningStepCount> kCleaningSteps{{
    {CleaningStep::WindowsTemp, IDC_DELETE_WINDOWS_TEMP, "DeleteWindowsTempFiles"},
    {CleaningStep::Cookies, IDC_DELETE_COOKIES, "DeleteIECookies"},
    {CleaningStep::BrowserHistory, IDC_DELETE_BROWSER_HISTORY, "DeleteIEHistory"},
    {CleaningStep::BrowserTemp, IDC_DELETE_BROWSER_TEMP, "DeleteIETempFiles"},
    {CleaningStep::VisitedSiteTraces, IDC_DELETE_VISITED_TRACES, "DeleteIEIndexDat"},
    {CleaningStep::Clipboard, IDC_DELETE_CLIPBOARD, "DeleteClipboardContents"},
    {CleaningStep::RecentDocuments, IDC_DELETE_RECENT_DOCUMENTS, "DeleteMRUDocuments"},
    {CleaningStep::RunList, IDC_DELETE_RUN_LIST, "DeleteStartRunContents"},
    {CleaningStep::RecycleBin, IDC_EMPTY_RECYCLE_BIN, "EmptyRecycleBin"},
}};

// Which steps a run performs, indexed by CleaningStep.
using TickedSteps = std::array<bool, kCleaningStepCount>;
