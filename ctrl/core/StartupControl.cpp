#include "ctrl/core/StartupControl.h"

#include "common/ProgramIdentity.h"

namespace {

// Applies the updates unless Tarnelix runs: then its files are in use, and
// the update check may be writing "New\" right now.
unsigned ApplyUpdates(CUpdateInstaller& installer, IStartupSystem& system, const std::string& programFolder,
                      std::vector<std::string>& log)
{
    if (system.InstanceRunning(kMutexName)) {
        log.push_back(std::string(kMainProgramFile) + " is running: the updates in New\\ wait for the next start");
        return 0;
    }
    unsigned applied = 0;
    for (const UpdateReport& report : installer.ApplyAll(programFolder)) {
        log.push_back(DescribeUpdate(report));
        applied += report.outcome == UpdateOutcome::Applied ? 1 : 0;
    }
    return applied;
}

void StartUnlessRunning(IStartupSystem& system, const char* mutexName, const std::string& path,
                        std::vector<std::string>& log)
{
    if (!system.InstanceRunning(mutexName) && !system.StartProgram(path)) {
        log.push_back("could not start " + path);
    }
}

// The main window exists a moment after its program starts; a failed post
// means it is not there yet.
void AnnounceInstalled(IStartupSystem& system, unsigned applied, std::vector<std::string>& log)
{
    for (unsigned attempt = 0; attempt < kMainWindowPollAttempts; ++attempt) {
        if (system.PostInstalledUpdates(applied)) {
            log.push_back("told " + std::string(kMainProgramFile) + " about " + std::to_string(applied) +
                          " installed update(s)");
            return;
        }
        system.Wait(kMainWindowPollMilliseconds);
    }
    log.push_back("the main window did not appear; the installed updates were not announced");
}

}  // namespace

unsigned RunAtLogOn(CUpdateInstaller& installer, IStartupSystem& system, IFileStore& files,
                    const std::string& programFolder)
{
    std::vector<std::string> log;
    const unsigned applied = ApplyUpdates(installer, system, programFolder, log);
    StartUnlessRunning(system, kMutexName, programFolder + kMainProgramFile, log);
    StartUnlessRunning(system, kAddOnMutexName, programFolder + kAddOnProgramFile, log);
    if (applied > 0) {
        AnnounceInstalled(system, applied, log);
    }
    if (!log.empty()) {
        AppendToLog(files, programFolder + kLogFileName, system.Now(), log);
    }
    return applied;
}

void AppendToLog(IFileStore& files, const std::string& path, const std::string& stamp,
                 const std::vector<std::string>& lines)
{
    std::string text;
    if (!ReadWholeFile(files, path, 4 * kMaxLogBytes, text)) {
        text.clear();  // missing, or too big to be ours: start afresh
    }
    if (text.size() > kMaxLogBytes) {
        const std::size_t cut = text.find('\n', text.size() - kMaxLogBytes / 2);
        text.erase(0, cut == std::string::npos ? text.size() : cut + 1);
    }
    for (const std::string& line : lines) {
        text += stamp + " " + line + "\r\n";
    }
    const std::string staged = path + kStagedSuffix;
    if (!WriteWholeFile(files, staged, text) || !files.MoveReplacing(staged, path)) {
        files.Remove(staged);
    }
}
