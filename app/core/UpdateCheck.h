#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

#include "common/FileNames.h"
#include "pages/StringPairList.h"
#include "platform/Files.h"
#include "platform/Http.h"
#include "platform/Settings.h"
#include "regex/RegExp.h"

// The update check: reads the update server's directory listing, compares
// the dates with the ones recorded before and downloads new or changed files
// into the program folder's "New\". It installs nothing.

// A link whose text is a file name with a three-character extension,
// followed by the two words of the date and time column:
//   <a href="Wendle.dll">Wendle.dll</a>        07-Dec-2026 06:10        3
inline constexpr char kListingPattern[] = "\\>([^\\<]+\\.\\w{3})\\</a\\>\\s+(\\S+\\s+\\S+)";
inline constexpr char kListingModifiers[] = "im";
// The most of a listing body that is read (some 40,000 lines of nginx's
// listing). The listing is untrusted: a server that sends more must not make
// the program hold it all.
inline constexpr std::size_t kMaxListingBytes = std::size_t{4} << 20;
// The listing address when "UpdateListingUrl" is empty. The address followed
// directly by a file name is the address of that file.
inline constexpr char kDefaultUpdateListingUrl[] = "http://update.corvantine.com/tarnelix/";
inline constexpr char kNewFolderName[] = "New\\";
// A download is written to name + this suffix in "New\" and renamed when it
// is complete. Four letters: no listed name can end in it (the listing
// pattern takes three-character extensions only).
inline constexpr char kPartialSuffix[] = ".part";

// "UpdateListingUrl" when it holds an http:// or https:// address, otherwise
// the built-in address.
std::string UpdateListingUrl(const ISettings& settings);

// Reads every listed (file name, date text) into `found`, in listing order;
// a name listed twice keeps its last date at its first position. Each search
// starts right after the date text of the previous entry; the body is never
// copied, so the cost grows with its length only.
void ReadListing(CRegExp& re, const std::string& body, StringPairList& found);

// Listed names are untrusted: IsPlainFileName (common/FileNames.h) decides
// which are fetched.

// listing address + name, with the bytes that may not stand in a URL path
// (blanks, "%", "#", "?", non-ASCII) percent-encoded.
std::string FileUrl(const std::string& listingUrl, const std::string& name);

// One run of the update worker. Everything it is given must outlive Run;
// `stopRequested` may be set by another thread at any time, and the run then
// ends at the next step without recording what it had not finished.
class CUpdateCheck {
public:
    CUpdateCheck(IHttpClient& http, ISettings& settings, IFileStore& files, IFolders& folders,
                 StringPairList& updatesTable, const std::atomic<bool>& stopRequested);

    // Fetches the listing and, on the first check ever ("Checked For
    // Updates" 0), downloads the files missing from the program folder and
    // records every listed date as the baseline; on later checks downloads
    // the files whose listed date differs from the updates table and records
    // the date of each one that arrived. A failed Open or listing transfer
    // records nothing.
    void Run(const std::string& listingUrl, const std::string& programFolder);

private:
    void FirstCheck(const StringPairList& found);
    void LaterCheck(const StringPairList& found);
    // Into "New\" through the partial file; false leaves no file behind.
    bool Download(const std::string& name);
    // Writes the date into "Updates" and, when that took, the table.
    void Record(const std::string& name, const std::string& date);
    bool Stopping() const { return stopRequested.load(); }

    IHttpClient& http;
    ISettings& settings;
    IFileStore& files;
    IFolders& folders;
    StringPairList& updatesTable;
    const std::atomic<bool>& stopRequested;
    std::string listingUrl;
    std::string programFolder;
};
