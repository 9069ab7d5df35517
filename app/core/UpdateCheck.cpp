#include "app/core/UpdateCheck.h"

#include <cctype>

#include "common/AppSettings.h"
#include "common/FileNames.h"

namespace {

bool MayStandInUrlPath(unsigned char c)
{
    if (std::isalnum(c) != 0 && c < 0x80) {
        return true;
    }
    static constexpr std::string_view kAllowed = "-._~!$&'()*+,;=@";
    return kAllowed.find(static_cast<char>(c)) != std::string_view::npos;
}

// A cut body may end inside an entry, whose date would then be cut too and
// read as changed; only whole lines are read.
void DropUnfinishedLine(std::string& body)
{
    const std::size_t lastLineEnd = body.rfind('\n');
    body.erase(lastLineEnd == std::string::npos ? 0 : lastLineEnd + 1);
}

}  // namespace

std::string UpdateListingUrl(const ISettings& settings)
{
    const std::string configured = ReadSetting(settings, kUpdateListingUrlSetting);
    if (StartsWithIgnoringCase(configured, "http://") || StartsWithIgnoringCase(configured, "https://")) {
        return configured;
    }
    return kDefaultUpdateListingUrl;
}

void ReadListing(CRegExp& re, const std::string& body, StringPairList& found)
{
    std::size_t offset = 0;
    for (;;) {
        // Below 1: no match (-1), nothing matched (0) or a matching error.
        const int count = re.MatchFrom(body, offset, kListingPattern, kListingModifiers);
        if (count < 1) {
            return;
        }
        found.Set(re.GetMatch(1), count >= 2 ? re.GetMatch(count) : std::string());
        const int end = re.GetMatchEnd(count);
        // A last span that ends where the search began would repeat the
        // same entry for ever.
        if (end < 0 || static_cast<std::size_t>(end) <= offset) {
            return;
        }
        offset = static_cast<std::size_t>(end);
    }
}

std::string FileUrl(const std::string& listingUrl, const std::string& name)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = listingUrl;
    for (unsigned char c : name) {
        if (MayStandInUrlPath(c)) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 0x0F];
        }
    }
    return url;
}

CUpdateCheck::CUpdateCheck(IHttpClient& http, ISettings& settings, IFileStore& files, IFolders& folders,
                           StringPairList& updatesTable, const std::atomic<bool>& stopRequested)
    : http(http),
      settings(settings),
      files(files),
      folders(folders),
      updatesTable(updatesTable),
      stopRequested(stopRequested)
{
}

void CUpdateCheck::Run(const std::string& url, const std::string& folder)
{
    listingUrl = url;
    programFolder = folder;
    if (Stopping() || !http.Open(listingUrl, "GET")) {
        return;
    }
    StringPairList found;
    std::string body;
    const bool read = http.ReadBody(kMaxListingBytes, body);
    if (read) {
        if (body.size() >= kMaxListingBytes) {
            DropUnfinishedLine(body);
        }
        CRegExp re;
        ReadListing(re, body, found);
        body = std::string();  // the listing may be large; the found list is all we keep
    }
    if (read && !Stopping()) {
        if (ReadSetting(settings, kCheckedForUpdatesSetting) == 0) {
            FirstCheck(found);
        } else {
            LaterCheck(found);
        }
    }
    http.Close();
}

void CUpdateCheck::FirstCheck(const StringPairList& found)
{
    for (const StringPair& entry : found) {
        if (Stopping()) {
            return;  // without the flag: the next check is a first check again
        }
        if (!IsPlainFileName(entry.first)) {
            continue;
        }
        // A failed download is recorded all the same, unless the exit cut it
        // off; then the check ends here.
        if (!folders.Exists(programFolder + entry.first) && !Download(entry.first) && Stopping()) {
            return;
        }
        Record(entry.first, entry.second);
    }
    // Written last, so that a first check cut off by the exit is done again
    // in full instead of taking a half-recorded baseline.
    WriteSetting(settings, kCheckedForUpdatesSetting, 1);
}

void CUpdateCheck::LaterCheck(const StringPairList& found)
{
    for (const StringPair& entry : found) {
        if (Stopping()) {
            return;
        }
        if (IsPlainFileName(entry.first) && updatesTable.Lookup(entry.first) != entry.second &&
            Download(entry.first)) {
            Record(entry.first, entry.second);
        }
    }
}

bool CUpdateCheck::Download(const std::string& name)
{
    const std::string newFolder = programFolder + kNewFolderName;
    if (!folders.Exists(newFolder) && !folders.CreateFolder(newFolder)) {
        return false;
    }
    const std::string target = newFolder + name;
    const std::string partial = target + kPartialSuffix;
    if (http.DownloadFile(FileUrl(listingUrl, name), partial) && files.MoveReplacing(partial, target)) {
        return true;
    }
    files.Remove(partial);
    return false;
}

void CUpdateCheck::Record(const std::string& name, const std::string& date)
{
    if (name.empty() || date.empty()) {
        return;
    }
    if (settings.WriteProfileString(kUpdatesSection, name, date)) {
        updatesTable.Set(name, date);
    }
}
