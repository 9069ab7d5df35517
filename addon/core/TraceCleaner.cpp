#include "addon/core/TraceCleaner.h"

#include <algorithm>

#include "pages/TitleSearch.h"

namespace {

constexpr std::uint64_t kIndexHeaderSize = 32;
constexpr std::size_t kWipeBlockSize = 1024;

// The first entry's buffer and the later entries' buffer grow to what the
// cache reports; an absurd size counts as a failed read.
bool GrowTo(std::vector<unsigned char>& buffer, std::size_t required)
{
    if (required > kMaxCacheEntrySize) {
        return false;
    }
    buffer.resize(std::max(required, buffer.size()));
    return true;
}

}  // namespace

std::string FolderSearchPattern(const std::string& path)
{
    const std::string joined = path + "\\*.*";
    std::string pattern;
    pattern.reserve(joined.size());
    for (std::size_t i = 0; i < joined.size(); ++i) {
        const bool doubled = joined[i] == '\\' && i + 1 < joined.size() && joined[i + 1] == '\\';
        if (doubled && i > 0) {
            continue;  // the second of the two follows
        }
        pattern += joined[i];
    }
    return pattern;
}

bool CTraceCleaner::Contains(const std::string& path, const char* piece) const
{
    return ContainsWholeCharacters(path, piece, compare);
}

void CTraceCleaner::CleanFolder(const std::string& path, const SweepFlags& flags)
{
    if (path.empty()) {
        return;
    }
    const std::string pattern = FolderSearchPattern(path);
    const std::string folder = pattern.substr(0, pattern.rfind('\\') + 1);
    files.ForEachEntry(pattern, [&](const FolderEntry& entry) {
        if (entry.name != "." && entry.name != "..") {
            SweepEntry(folder + entry.name, entry, flags);
        }
    });
}

void CTraceCleaner::SweepEntry(const std::string& full, const FolderEntry& entry, const SweepFlags& flags)
{
    if (entry.isLink) {
        // Never followed: the link goes where a file would, its target
        // stays whole.
        if (!flags.keepFiles && !files.RemoveFolder(full)) {
            files.RemoveFile(full);
        }
        return;
    }
    if (entry.isDirectory) {
        CleanFolder(full, flags);
        files.RemoveFolder(full);  // fails while anything is left inside
    }
    // Before the tests below: skipped entries lose the bit too.
    const std::optional<std::uint32_t> attributes = files.ReadAttributes(full);
    if (attributes && (*attributes & kReadOnlyAttribute) != 0) {
        files.WriteAttributes(full, *attributes & ~kReadOnlyAttribute);
    }
    if (entry.isDirectory) {
        return;  // a folder is never deleted or wiped as a file
    }
    if (Contains(full, "desktop.ini") && !flags.includeDesktopIni) {
        return;
    }
    if (Contains(full, "index.dat")) {
        if (flags.wipeIndexFiles) {
            WipeIndexFile(full);
            files.RemoveFile(full);
        }
        return;
    }
    if (!flags.keepFiles) {
        files.RemoveFile(full);
    }
}

void CTraceCleaner::WipeIndexFile(const std::string& path)
{
    if (path.empty()) {
        return;
    }
    std::unique_ptr<IWipeTarget> file = files.OpenForWipe(path);
    if (!file) {
        return;
    }
    const std::uint64_t size = file->Size();
    if (!file->Seek(kIndexHeaderSize)) {
        return;
    }
    static const char zeros[kWipeBlockSize] = {};
    for (std::uint64_t done = kIndexHeaderSize; done < size;) {
        const std::size_t block = static_cast<std::size_t>(std::min<std::uint64_t>(size - done, kWipeBlockSize));
        if (!file->Write(zeros, block)) {
            return;
        }
        done += block;
    }
}

void CTraceCleaner::DeleteAllValues(const std::string& keyPath)
{
    std::unique_ptr<IValueKey> key = registry.OpenUserKey(keyPath);
    if (!key) {
        return;
    }
    // Index 0 every time: each deletion moves the remaining values up.
    std::string name;
    while (key->FirstValueName(name) == ValueRead::Name && key->RemoveValue(name)) {
    }
}

void CTraceCleaner::DeleteIfPicked(const CacheEntry& entry,
                                   const std::function<bool(const CacheEntry&)>& shouldDelete)
{
    if (shouldDelete(entry)) {
        cache.RemoveEntry(entry.sourceUrlName);
    }
}

bool CTraceCleaner::WalkUrlCache(const std::function<bool(const CacheEntry&)>& shouldDelete)
{
    std::vector<unsigned char> first(kCacheEntryBufferSize);
    std::vector<unsigned char> next(kCacheEntryBufferSize);
    std::size_t required = 0;
    CacheRead read = cache.FirstEntry(first, required);
    if (read == CacheRead::BufferTooSmall && GrowTo(first, required)) {
        read = cache.FirstEntry(first, required);
    }
    if (read != CacheRead::Entry) {
        return true;  // an empty cache: nothing to delete
    }
    for (;;) {
        read = cache.NextEntry(next, required);
        if (read == CacheRead::BufferTooSmall) {
            read = GrowTo(next, required) ? cache.NextEntry(next, required) : CacheRead::Failed;
        }
        if (read == CacheRead::NoMoreEntries) {
            break;
        }
        if (read != CacheRead::Entry) {
            cache.CloseWalk();
            return false;
        }
        DeleteIfPicked(cache.EntryIn(next), shouldDelete);
    }
    DeleteIfPicked(cache.EntryIn(first), shouldDelete);
    cache.CloseWalk();
    return true;
}

void CTraceCleaner::Run(const TickedSteps& ticked, const TracePaths& paths, const KeptCookieTest& isKeptCookie)
{
    for (const CleaningStepInfo& info : kCleaningSteps) {
        if (ticked[static_cast<std::size_t>(info.step)]) {
            RunStep(info.step, paths, isKeptCookie);
        }
    }
}

void CTraceCleaner::RunStep(CleaningStep step, const TracePaths& paths, const KeptCookieTest& isKeptCookie)
{
    switch (step) {
    case CleaningStep::WindowsTemp:
        CleanFolder(paths.windowsTemp, {false, true, false});
        break;
    case CleaningStep::Cookies:
        WalkUrlCache([&](const CacheEntry& entry) {
            return entry.type == kCookieCacheEntry && !isKeptCookie(entry.sourceUrlName);
        });
        break;
    case CleaningStep::BrowserHistory:
        // A missing typed-address key (a browser never used) does not spare
        // the history store and folder.
        DeleteAllValues(kTypedUrlsKey);
        system.ClearHistoryStore();
        CleanFolder(paths.history, {});
        break;
    case CleaningStep::BrowserTemp:
        if (WalkUrlCache([](const CacheEntry& entry) { return entry.type != kCookieCacheEntry; })) {
            CleanFolder(paths.internetCache, {});
        }
        break;
    case CleaningStep::VisitedSiteTraces:
        CleanFolder(paths.history, {true, true, false});
        CleanFolder(paths.internetCache, {true, true, false});
        break;
    case CleaningStep::Clipboard:
        system.ClearClipboard();
        break;
    case CleaningStep::RecentDocuments:
        CleanFolder(paths.recentDocuments, {});
        DeleteAllValues(kRecentDocsKey);
        break;
    case CleaningStep::RunList:
        DeleteAllValues(kRunMruKey);
        break;
    case CleaningStep::RecycleBin:
        system.EmptyRecycleBin();
        break;
    }
}
