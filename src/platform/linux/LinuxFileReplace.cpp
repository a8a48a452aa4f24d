#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

#include "platform/FileReplace.h"

namespace calidus {

namespace {

constexpr mode_t kReadWriteBits = 0666;
constexpr int kNameAttempts = 16;

struct Temporary {
    int fd = -1;
    std::string path;
};

// Created exclusively and never through a link, so nobody else's file can be written instead.
Temporary createBeside(const std::filesystem::path& target) {
    std::random_device random;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
        const std::string path =
            (target.parent_path() / ("." + target.filename().string() + "." + suffix + ".tmp"))
                .string();
        const int fd =
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) {
            return {fd, path};
        }
    }
    return {};
}

bool writeAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A new file stays its owner's alone; an old one lends its read and write bits, never more.
bool carryPermissions(int fd, const std::filesystem::path& target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0) {
        return errno == ENOENT;
    }
    return ::fchmod(fd, old.st_mode & kReadWriteBits) == 0;
}

// The rename is durable only once the folder's entry is on the disk.
void syncFolder(const std::filesystem::path& target) {
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

bool replaceFile(const std::filesystem::path& target, std::string_view contents) {
    const Temporary temporary = createBeside(target);
    if (temporary.fd < 0) {
        return false;
    }
    bool done = writeAll(temporary.fd, contents) && carryPermissions(temporary.fd, target) &&
                ::fdatasync(temporary.fd) == 0;
    done = ::close(temporary.fd) == 0 && done;
    done = done && ::rename(temporary.path.c_str(), target.c_str()) == 0;
    if (!done) {
        ::unlink(temporary.path.c_str());
        return false;
    }
    syncFolder(target);
    return true;
}

}  // namespace calidus
