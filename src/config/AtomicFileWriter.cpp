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

}  // namespace

bool writeWhole(std::ostream& out, std::string_view contents) {
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    return out.good();
}

bool writeFileAtomically(const fs::path& target, std::string_view contents, const WriteStep& step) {
    const fs::path destination = resolvedTarget(target);
    const fs::path temporary = temporaryBeside(destination);
    std::error_code error;
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
    const fs::file_status old = fs::status(destination, error);
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
