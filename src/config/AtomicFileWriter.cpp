#include "config/AtomicFileWriter.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

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

fs::path temporaryBeside(const fs::path& target) {
    std::random_device random;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    return target.parent_path() / ("." + target.filename().string() + "." + suffix + ".tmp");
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
    const fs::file_status old = fs::status(destination, error);
    if (!mayReplace(destination, old)) {
        return false;
    }
    const fs::path temporary = temporaryBeside(destination);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        bool written = step(out, contents);
        out.flush();
        written = written && out.good();
        out.close();
        if (!written || out.fail()) {
            fs::remove(temporary, error);
            return false;
        }
    }
    if (fs::exists(old)) {
        fs::permissions(temporary, old.permissions(), error);
    }
    fs::rename(temporary, destination, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace calidus
