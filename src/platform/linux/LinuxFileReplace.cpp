#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <string>

#include "platform/FileReplace.h"

namespace calidus {

namespace {

namespace fs = std::filesystem;

constexpr mode_t kReadWriteBits = 0666;
constexpr int kNameAttempts = 16;
constexpr int kLinkHops = 8;
constexpr std::size_t kSuffixDigits = 8;
constexpr std::string_view kTemporaryEnd = ".tmp";
// A temporary file younger than this may belong to a save in progress of another run.
constexpr std::chrono::seconds kStaleAfter{60};

ReplaceFailure failureOf(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return ReplaceFailure::DiskFull;
        case EROFS:
            return ReplaceFailure::ReadOnly;
        case EACCES:
        case EPERM:
            return ReplaceFailure::FolderNotWritable;
        case ENOENT:
        case ENOTDIR:
            return ReplaceFailure::FolderMissing;
        case EISDIR:
            return ReplaceFailure::NotAFile;
        default:
            return ReplaceFailure::WriteFailed;
    }
}

ReplaceResult failed(int error) {
    return {failureOf(error), std::strerror(error)};
}

struct Destination {
    fs::path path;
    ReplaceResult problem;
};

// Links are followed only while their owner is the one running the program (for root, root
// itself): a link that someone else planted can never point a save at another file. The kernel's
// guard against such links does not apply, since the program resolves them itself.
Destination resolveLinks(const fs::path& target) {
    fs::path current = target;
    for (int hop = 0; hop < kLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            return {current, errno == ENOENT ? ReplaceResult{} : failed(errno)};
        }
        if (!S_ISLNK(info.st_mode)) {
            return {current, {}};
        }
        if (info.st_uid != ::geteuid()) {
            return {current, {ReplaceFailure::UntrustedLink, {}}};
        }
        std::error_code error;
        const fs::path next = fs::read_symlink(current, error);
        if (error) {
            return {current, {ReplaceFailure::WriteFailed, error.message()}};
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return {current, failed(ELOOP)};
}

bool isOwnTemporary(const std::string& entry, const std::string& start) {
    if (entry.size() != start.size() + kSuffixDigits + kTemporaryEnd.size() ||
        !entry.starts_with(start) || !entry.ends_with(kTemporaryEnd)) {
        return false;
    }
    const std::string_view digits = std::string_view(entry).substr(start.size(), kSuffixDigits);
    return digits.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// Whether this run has yet to look for the file's leftovers: once is enough, since a file such
// as the Prometheus export is replaced every tick and its folder may hold many others.
bool firstLookAt(const fs::path& file) {
    static std::mutex mutex;
    static std::set<fs::path> seen;
    const std::lock_guard lock(mutex);
    return seen.insert(file).second;
}

// What a save killed half-way (kill -9) left behind; nothing but this file's own temporaries.
void removeStaleTemporaries(int folder, const fs::path& folderPath, const std::string& file) {
    std::error_code error;
    const auto now = std::chrono::system_clock::now();
    const std::string start = "." + file + ".";
    for (fs::directory_iterator it(folderPath, error); !error && it != fs::directory_iterator();
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        struct stat info {};
        if (!isOwnTemporary(name, start) ||
            ::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode)) {
            continue;
        }
        const auto modified = std::chrono::system_clock::from_time_t(info.st_mtime);
        if (now - modified > kStaleAfter) {
            ::unlinkat(folder, name.c_str(), 0);
        }
    }
}

struct Temporary {
    int fd = -1;
    int error = 0;
    std::string name;
};

// Created exclusively and never through a link, so nobody else's file can be written instead.
Temporary createBeside(int folder, const std::string& file) {
    std::random_device random;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
        std::string name = "." + file + "." + suffix + std::string(kTemporaryEnd);
        const int fd = ::openat(folder, name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) {
            return {fd, fd >= 0 ? 0 : errno, std::move(name)};
        }
    }
    return {-1, EEXIST, {}};
}

bool writeAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = ENOSPC;
            }
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Whether the old file may be replaced; a file that may is described by `old`.
ReplaceResult checkOld(const std::optional<struct stat>& old) {
    if (!old) {
        return {};
    }
    if (S_ISLNK(old->st_mode)) {
        return {ReplaceFailure::UntrustedLink, {}};
    }
    if (!S_ISREG(old->st_mode)) {
        return {ReplaceFailure::NotAFile, {}};
    }
    if (old->st_uid != ::geteuid() && ::geteuid() != 0) {
        return {ReplaceFailure::NotOwner, {}};
    }
    // The rename would otherwise get past a protection that an in-place write respects.
    if ((old->st_mode & S_IWUSR) == 0) {
        return {ReplaceFailure::ReadOnly, {}};
    }
    return {};
}

// The new file is the old one's owner's (root makes it so) with its read and write bits only,
// never setuid, setgid, sticky or execute; a new one stays its owner's alone.
bool takeOver(int fd, const std::optional<struct stat>& old) {
    if (!old) {
        return true;
    }
    if (old->st_uid != ::geteuid() && ::fchown(fd, old->st_uid, old->st_gid) != 0) {
        return false;
    }
    return ::fchmod(fd, old->st_mode & kReadWriteBits) == 0;
}

class FolderHandle {
  public:
    explicit FolderHandle(const fs::path& folder)
        : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
    ~FolderHandle() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    int fd() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

ReplaceResult replaceFile(const fs::path& target, std::string_view contents,
                          Durability durability) {
    const Destination destination = resolveLinks(target);
    if (!destination.problem) {
        return destination.problem;
    }
    const fs::path folderPath =
        destination.path.parent_path().empty() ? "." : destination.path.parent_path();
    const std::string file = destination.path.filename().string();
    const FolderHandle folder(folderPath);
    if (folder.fd() < 0) {
        return failed(errno);
    }
    std::optional<struct stat> old;
    if (struct stat info{}; ::fstatat(folder.fd(), file.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        old = info;
    } else if (errno != ENOENT) {
        return failed(errno);
    }
    if (ReplaceResult refused = checkOld(old); !refused) {
        return refused;
    }
    if (firstLookAt(destination.path)) {
        removeStaleTemporaries(folder.fd(), folderPath, file);
    }

    const Temporary temporary = createBeside(folder.fd(), file);
    if (temporary.fd < 0) {
        return failed(temporary.error);
    }
    int error = 0;
    const bool synced = durability == Durability::Synced;
    if (!writeAll(temporary.fd, contents) || !takeOver(temporary.fd, old) ||
        (synced && ::fdatasync(temporary.fd) != 0)) {
        error = errno;
    }
    if (::close(temporary.fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 &&
        ::renameat(folder.fd(), temporary.name.c_str(), folder.fd(), file.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlinkat(folder.fd(), temporary.name.c_str(), 0);
        return failed(error);
    }
    // The rename is durable only once the folder's entry is on the disk.
    if (synced) {
        ::fsync(folder.fd());
    }
    return {};
}

}  // namespace calidus
