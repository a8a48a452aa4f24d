#include "config/AtomicFileWriter.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/FileReplace.h"

namespace calidus {

namespace fs = std::filesystem;

namespace {

// A symbolic link stays a link; the file it points to is what gets replaced.
fs::path resolvedTarget(const fs::path& target) {
    std::error_code error;
    if (fs::is_symlink(target, error)) {
        fs::path resolved = fs::weakly_canonical(target, error);
        if (!error) {
            return resolved;
        }
    }
    return target;
}

// A file marked read-only, one this process could not update in place, or anything but a regular
// file stays as it is: the rename would otherwise get past a protection an in-place write respects.
bool mayReplace(const fs::path& destination, const fs::file_status& old) {
    if (!fs::exists(old)) {
        return true;
    }
    constexpr fs::perms anyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if (!fs::is_regular_file(old) || (old.permissions() & anyWrite) == fs::perms::none) {
        return false;
    }
    return std::fstream(destination, std::ios::in | std::ios::out | std::ios::binary).is_open();
}

}  // namespace

bool writeWhole(std::ostream& out, std::string_view contents) {
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    return out.good();
}

bool writeFileAtomically(const fs::path& target, std::string_view contents, const WriteStep& step) {
    const fs::path destination = resolvedTarget(target);
    std::error_code error;
    if (!mayReplace(destination, fs::status(destination, error))) {
        return false;
    }
    std::ostringstream bytes;
    if (!step(bytes, contents)) {
        return false;
    }
    return replaceFile(destination, bytes.view());
}

}  // namespace calidus
