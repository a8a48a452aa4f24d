#include "config/SaveProblem.h"

namespace calidus {

namespace {

struct Advice {
    std::string failed;
    std::string remedy;
};

Advice adviceFor(const std::filesystem::path& file, const ReplaceResult& result) {
    const std::string name = file.string();
    const std::string folder =
        file.parent_path().empty() ? std::string(".") : file.parent_path().string();
    switch (result.failure) {
        case ReplaceFailure::None:
            break;
        case ReplaceFailure::ReadOnly:
            return {"it is read-only, or its file system is",
                    "make it writable (chmod u+w " + name + ") to keep the settings"};
        case ReplaceFailure::NotAFile:
            return {"a folder or another non-file is in its place",
                    "move that away so that a settings file can be made there"};
        case ReplaceFailure::NotOwner:
            return {"it belongs to another user",
                    "run the program as that user, or remove the file"};
        case ReplaceFailure::UntrustedLink:
            return {"it is reached through a symbolic link of another user's",
                    "replace the link by a file of your own"};
        case ReplaceFailure::FolderMissing:
            return {"its folder does not exist and could not be made",
                    "create the folder " + folder};
        case ReplaceFailure::FolderNotWritable:
            return {"no file can be made in its folder",
                    "make the folder " + folder + " writable for this user"};
        case ReplaceFailure::DiskFull:
            return {"the disk is full (no space or no inode left)",
                    "free some space on the disk of " + folder};
        case ReplaceFailure::Refused:
            return {result.reason, "move it away to start again with new settings"};
        case ReplaceFailure::WriteFailed:
            return {result.reason.empty() ? "the write failed" : result.reason,
                    "check the disk and the file"};
    }
    return {};
}

}  // namespace

std::string saveProblemText(const std::filesystem::path& file, const ReplaceResult& result) {
    const Advice advice = adviceFor(file, result);
    return "the settings could not be saved to " + file.string() + ": " + advice.failed + "\n" +
           "To save them, " + advice.remedy + "; the file is as it was.";
}

}  // namespace calidus
