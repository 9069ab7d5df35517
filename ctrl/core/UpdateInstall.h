#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ctrl/core/SignatureFormat.h"
#include "platform/Files.h"

// Applying the files that the update check left in the program folder's
// "New\": a file X is put in place only when "New\X.sig" holds a valid
// signature of its bytes made with the release key. Everything else stays
// in "New\", is never run and is reported.

inline constexpr char kUpdateFolderName[] = "New\\";
inline constexpr char kSignatureSuffix[] = ".sig";
// The update check's unfinished downloads; never candidates.
inline constexpr char kDownloadSuffix[] = ".part";
// The verified bytes are written beside the target under this suffix first,
// and the replaced file is kept under the other.
inline constexpr char kStagedSuffix[] = ".new";
inline constexpr char kBackupSuffix[] = ".bak";
// The largest update taken (the programs are a few MiB); a bigger file is
// not read into memory.
inline constexpr std::size_t kMaxUpdateBytes = std::size_t{64} << 20;
// A DER signature of P-256 is at most 72 bytes.
inline constexpr std::size_t kMaxSignatureBytes = 256;

// Checks a signature of the built-in public key over the SHA-256 of `data`.
class ISignatureVerifier {
public:
    virtual ~ISignatureVerifier() = default;
    virtual bool Verify(std::string_view data, const RawSignature& signature) = 0;
};

enum class UpdateOutcome {
    Applied,
    NotPlainName,    // a name that could point outside the folder
    NoSignature,     // "X.sig" missing
    BadSignature,    // malformed, or not made by the release key
    Unreadable,      // locked, vanished or too large
    InUse,           // the old file could not be moved aside, or the new one not put in place
};

struct UpdateReport {
    std::string name;
    UpdateOutcome outcome;
};

// One line of the log for a report, without time stamp.
std::string DescribeUpdate(const UpdateReport& report);

class CUpdateInstaller {
public:
    CUpdateInstaller(IFileStore& files, IFolders& folders, IFolderListing& listing, ISignatureVerifier& verifier);

    // Every candidate of programFolder + "New\" in listing order: signature
    // files and unfinished downloads are not candidates themselves. An
    // applied file and its signature leave "New\"; the old file, if there
    // was one, is kept as X.bak. When anything fails the old file stays in
    // place and the new one in "New\".
    std::vector<UpdateReport> ApplyAll(const std::string& programFolder);

private:
    UpdateOutcome Apply(const std::string& programFolder, const std::string& name);
    UpdateOutcome Verify(const std::string& path, std::string& data);
    UpdateOutcome Replace(const std::string& target, const std::string& data);

    IFileStore& files;
    IFolders& folders;
    IFolderListing& listing;
    ISignatureVerifier& verifier;
};

// The whole file, when it is readable and at most maxBytes long.
bool ReadWholeFile(IFileStore& files, const std::string& path, std::size_t maxBytes, std::string& data);
// Writes the file through and closes it; false when any step failed.
bool WriteWholeFile(IFileStore& files, const std::string& path, std::string_view data);
