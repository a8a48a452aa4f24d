#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace calidus {

enum class ReplaceFailure {
    None,
    ReadOnly,           // the file, or the file system, is marked read-only
    NotAFile,           // a folder or a device stands where the file would be
    NotOwner,           // another user's file, which only root may replace
    UntrustedLink,      // a symbolic link of another user's on the way to the file
    FolderMissing,      // the folder the file would be in does not exist
    FolderNotWritable,  // no new file can be made in that folder
    DiskFull,           // no space or no inode left
    Refused,            // the caller keeps the file as it is (its contents may not be rewritten)
    WriteFailed,        // anything else that stopped the write
};

struct ReplaceResult {
    ReplaceFailure failure = ReplaceFailure::None;
    std::string reason;  // the system's own words, when it gave any

    explicit operator bool() const { return failure == ReplaceFailure::None; }
};

// Replaces the file so that even a crash leaves either its old or its new contents: they go to a
// temporary file of the owner's alone beside it, which reaches the disk before it is renamed over
// the target. The result has only read and write permission bits, those of the old file; as root
// it keeps the old file's owner, otherwise another user's file is refused. A symbolic link is
// followed only while its owner is the running user. Temporary files that an earlier save left
// behind when it was killed are removed. A failure leaves the target as it was. The disk is the
// real machine's also when the processor is simulated.
enum class Durability {
    Synced,    // on the disk before the call returns
    Volatile,  // replaced again soon (the Prometheus export): atomic, but no sync to wait for
};
ReplaceResult replaceFile(const std::filesystem::path& target, std::string_view contents,
                          Durability durability = Durability::Synced);

}  // namespace calidus
