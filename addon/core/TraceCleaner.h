// The trace cleaners of the add-on: the folder sweep, the index-file wipe,
// the URL-cache walk, the registry value purge and the cleaning run that
// strings them together. Portable; the system is reached only through the
// interfaces below, whose Win32 adapters live in addon/win32/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addon/core/CleaningSteps.h"
#include "platform/TextCompare.h"

// ---- Files and folders -------------------------------------------------------------

struct FolderEntry {
    std::string name;  // the file name alone, as the listing gives it
    bool isDirectory = false;
    // A reparse point: a junction or a symbolic link. What it points to is
    // none of the sweep's business.
    bool isLink = false;
};

constexpr std::uint32_t kReadOnlyAttribute = 0x01;

// An existing file opened for writing, sharing read and write.
class IWipeTarget {
public:
    virtual ~IWipeTarget() = default;
    virtual std::uint64_t Size() = 0;
    // Sets the position, counted from the beginning.
    virtual bool Seek(std::uint64_t offset) = 0;
    virtual bool Write(const char* data, std::size_t size) = 0;
};

class ITraceFiles {
public:
    virtual ~ITraceFiles() = default;
    // Hands every entry that matches the pattern to `visit`, "." and ".."
    // included, in the order of the listing.
    virtual void ForEachEntry(const std::string& pattern, const std::function<void(const FolderEntry&)>& visit) = 0;
    // Removes an empty directory (or a link to one); false otherwise.
    virtual bool RemoveFolder(const std::string& path) = 0;
    virtual std::optional<std::uint32_t> ReadAttributes(const std::string& path) = 0;
    virtual bool WriteAttributes(const std::string& path, std::uint32_t attributes) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    // nullptr when the file cannot be opened (missing, or held by another
    // program without sharing).
    virtual std::unique_ptr<IWipeTarget> OpenForWipe(const std::string& path) = 0;
};

// ---- URL cache -----------------------------------------------------------------------

enum class CacheRead { Entry, BufferTooSmall, NoMoreEntries, Failed };

struct CacheEntry {
    std::string sourceUrlName;
    std::uint32_t type = 0;
};

// The cache's entry type of cookies; other bits mean another kind of entry.
constexpr std::uint32_t kCookieCacheEntry = 0x00100000;
constexpr std::size_t kCacheEntryBufferSize = 4096;
// A reported entry size above this is taken for a broken cache.
constexpr std::size_t kMaxCacheEntrySize = 1024 * 1024;

class IUrlCache {
public:
    virtual ~IUrlCache() = default;
    // Starts a walk over the whole cache and reads its first entry into
    // `buffer`. BufferTooSmall leaves the size the entry needs in `required`
    // and starts no walk.
    virtual CacheRead FirstEntry(std::vector<unsigned char>& buffer, std::size_t& required) = 0;
    // The next entry of the walk; BufferTooSmall as above, the walk stays.
    virtual CacheRead NextEntry(std::vector<unsigned char>& buffer, std::size_t& required) = 0;
    // The entry a successful read left in the buffer.
    virtual CacheEntry EntryIn(const std::vector<unsigned char>& buffer) const = 0;
    virtual void CloseWalk() = 0;
    // Deletes the entry and its local file.
    virtual bool RemoveEntry(const std::string& sourceUrlName) = 0;
};

// ---- Registry --------------------------------------------------------------------------

enum class ValueRead { Name, NoMoreItems, Failed };
constexpr std::size_t kValueNameBufferSize = 256;

class IValueKey {
public:
    virtual ~IValueKey() = default;
    // Name of the value at index 0, read into a 256-byte buffer.
    virtual ValueRead FirstValueName(std::string& name) = 0;
    virtual bool RemoveValue(const std::string& name) = 0;
};

class ITraceRegistry {
public:
    virtual ~ITraceRegistry() = default;
    // A key below HKEY_CURRENT_USER opened to query and write; nullptr when
    // it cannot be opened.
    virtual std::unique_ptr<IValueKey> OpenUserKey(const std::string& path) = 0;
};

// ---- The rest of the system ------------------------------------------------------------

class ISystemTraces {
public:
    virtual ~ISystemTraces() = default;
    // Creates the browser's URL history object and clears it.
    virtual void ClearHistoryStore() = 0;
    // Opens the clipboard for the add-on window and empties it; a clipboard
    // that another program holds open is left alone.
    virtual void ClearClipboard() = 0;
    // All drives, without confirmation, progress window or sound.
    virtual void EmptyRecycleBin() = 0;
};

// ---- The cleaner -------------------------------------------------------------------------

struct SweepFlags {
    bool keepFiles = false;
    bool wipeIndexFiles = false;
    bool includeDesktopIni = false;
};

// The folders of the run, resolved once at start-up; an empty path (a
// special folder that could not be resolved) is never swept.
struct TracePaths {
    std::string windowsTemp;
    std::string history;
    std::string internetCache;
    std::string recentDocuments;
};

inline constexpr char kTypedUrlsKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\TypedURLs";
inline constexpr char kRecentDocsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
inline constexpr char kRunMruKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

// The search pattern of a folder: path, "\*.*", double backslashes made
// single so that a path ending in a backslash still works. A leading "\\"
// of a network path stays.
std::string FolderSearchPattern(const std::string& path);

class CTraceCleaner {
public:
    // True when a cookie's source URL name contains a kept site.
    using KeptCookieTest = std::function<bool(const std::string& name)>;

    CTraceCleaner(ITraceFiles& files, IUrlCache& cache, ITraceRegistry& registry, ISystemTraces& system,
                  const ITextCompare& compare)
        : files(files), cache(cache), registry(registry), system(system), compare(compare) {}

    // One run over the ticked steps, in the fixed order of kCleaningSteps.
    // No step depends on another one's success.
    void Run(const TickedSteps& ticked, const TracePaths& paths, const KeptCookieTest& isKeptCookie);

    void CleanFolder(const std::string& path, const SweepFlags& flags);
    // Overwrites everything after the 32-byte header with zeros, in blocks
    // of 1024 bytes; the file never grows.
    void WipeIndexFile(const std::string& path);
    // Deletes every value directly under the key; subkeys stay. Ends on any
    // error, so a value that cannot be read or deleted cannot loop it.
    void DeleteAllValues(const std::string& keyPath);
    // Walks the whole cache and deletes each entry `shouldDelete` picks.
    // The first entry is judged last. False when the walk broke off and
    // with it the step.
    bool WalkUrlCache(const std::function<bool(const CacheEntry&)>& shouldDelete);

private:
    void SweepEntry(const std::string& full, const FolderEntry& entry, const SweepFlags& flags);
    void RunStep(CleaningStep step, const TracePaths& paths, const KeptCookieTest& isKeptCookie);
    void DeleteIfPicked(const CacheEntry& entry, const std::function<bool(const CacheEntry&)>& shouldDelete);
    bool Contains(const std::string& path, const char* piece) const;

    ITraceFiles& files;
    IUrlCache& cache;
    ITraceRegistry& registry;
    ISystemTraces& system;
    const ITextCompare& compare;
};
