#include "ctrl/core/UpdateInstall.h"

#include "common/FileNames.h"

namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view lowerSuffix)
{
    return text.size() >= lowerSuffix.size() &&
           StartsWithIgnoringCase(text.substr(text.size() - lowerSuffix.size()), lowerSuffix);
}

bool IsCandidate(const std::string& name)
{
    return !EndsWithIgnoringCase(name, kSignatureSuffix) && !EndsWithIgnoringCase(name, kDownloadSuffix);
}

}  // namespace

bool ReadWholeFile(IFileStore& files, const std::string& path, std::size_t maxBytes, std::string& data)
{
    data.clear();
    const auto file = files.OpenForRead(path);
    if (!file) {
        return false;
    }
    char buffer[64 * 1024];
    for (;;) {
        std::size_t got = 0;
        if (!file->Read(buffer, sizeof buffer, got)) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        if (got > maxBytes - data.size()) {
            return false;
        }
        data.append(buffer, got);
    }
}

bool WriteWholeFile(IFileStore& files, const std::string& path, std::string_view data)
{
    const auto file = files.CreateForWrite(path);
    if (!file) {
        return false;
    }
    const bool written = file->Write(data.data(), data.size()) && file->Flush();
    return file->Close() && written;
}

std::string DescribeUpdate(const UpdateReport& report)
{
    switch (report.outcome) {
    case UpdateOutcome::Applied:
        return report.name + ": installed; the old file, if any, is kept as " + report.name + kBackupSuffix;
    case UpdateOutcome::NotPlainName:
        return report.name + ": left in New\\: not a plain file name";
    case UpdateOutcome::NoSignature:
        return report.name + ": left in New\\: no signature (" + report.name + kSignatureSuffix + ")";
    case UpdateOutcome::BadSignature:
        return report.name + ": left in New\\: the signature is not valid";
    case UpdateOutcome::Unreadable:
        return report.name + ": left in New\\: unreadable or too large";
    case UpdateOutcome::InUse:
        return report.name + ": left in New\\: the old file is in use and stays";
    }
    return report.name;
}

CUpdateInstaller::CUpdateInstaller(IFileStore& files, IFolders& folders, IFolderListing& listing,
                                   ISignatureVerifier& verifier)
    : files(files), folders(folders), listing(listing), verifier(verifier)
{
}

std::vector<UpdateReport> CUpdateInstaller::ApplyAll(const std::string& programFolder)
{
    std::vector<UpdateReport> reports;
    for (const std::string& name : listing.FileNames(programFolder + kUpdateFolderName)) {
        if (IsCandidate(name)) {
            reports.push_back({name, Apply(programFolder, name)});
        }
    }
    return reports;
}

UpdateOutcome CUpdateInstaller::Apply(const std::string& programFolder, const std::string& name)
{
    if (!IsPlainFileName(name)) {
        return UpdateOutcome::NotPlainName;
    }
    const std::string source = programFolder + kUpdateFolderName + name;
    std::string data;
    const UpdateOutcome verified = Verify(source, data);
    if (verified != UpdateOutcome::Applied) {
        return verified;
    }
    const UpdateOutcome replaced = Replace(programFolder + name, data);
    if (replaced == UpdateOutcome::Applied) {
        files.Remove(source);
        files.Remove(source + kSignatureSuffix);
    }
    return replaced;
}

// The bytes that are checked are the bytes that get installed: the file is
// read once, and what is written in its place comes from that copy.
UpdateOutcome CUpdateInstaller::Verify(const std::string& path, std::string& data)
{
    const std::string signaturePath = path + kSignatureSuffix;
    if (!folders.Exists(signaturePath)) {
        return UpdateOutcome::NoSignature;
    }
    std::string der;
    if (!ReadWholeFile(files, signaturePath, kMaxSignatureBytes, der)) {
        return UpdateOutcome::BadSignature;
    }
    const std::optional<RawSignature> signature = RawSignatureFromDer(der);
    if (!signature) {
        return UpdateOutcome::BadSignature;
    }
    if (!ReadWholeFile(files, path, kMaxUpdateBytes, data)) {
        return UpdateOutcome::Unreadable;
    }
    return verifier.Verify(data, *signature) ? UpdateOutcome::Applied : UpdateOutcome::BadSignature;
}

// The new bytes go beside the target first, so that the last step is one
// rename in one folder. The old file is moved aside before that rename and
// moved back when the rename fails. A file held open without delete sharing
// (a running program on some systems) cannot be moved aside and so stays.
UpdateOutcome CUpdateInstaller::Replace(const std::string& target, const std::string& data)
{
    const std::string staged = target + kStagedSuffix;
    const std::string backup = target + kBackupSuffix;
    if (!WriteWholeFile(files, staged, data)) {
        files.Remove(staged);
        return UpdateOutcome::InUse;
    }
    const bool hadOld = folders.Exists(target);
    if (hadOld && !files.MoveReplacing(target, backup)) {
        files.Remove(staged);
        return UpdateOutcome::InUse;
    }
    if (!files.MoveReplacing(staged, target)) {
        if (hadOld) {
            files.MoveReplacing(backup, target);
        }
        files.Remove(staged);
        return UpdateOutcome::InUse;
    }
    return UpdateOutcome::Applied;
}
