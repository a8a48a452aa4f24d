#include "platform/linux/msr/MsrDeviceFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <optional>

namespace calidus {

namespace {

// Far beyond any machine; keeps a directory name from standing for a huge processor number.
constexpr std::uint32_t kMaxProcessors = 4096;

using Halves = std::array<std::uint32_t, 2>;

std::optional<std::uint32_t> processorNumber(const std::string& name) {
    std::uint32_t cpu = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), cpu);
    if (name.empty() || error != std::errc() || end != name.data() + name.size() ||
        cpu >= kMaxProcessors) {
        return std::nullopt;
    }
    return cpu;
}

// EPERM is the kernel refusing writes; a device opened read-only (EBADF) refuses them alike.
MsrStatus failure(int error) {
    return error == EPERM || error == EBADF ? MsrStatus::WritesLocked : MsrStatus::AccessFailed;
}

}  // namespace

int MsrDeviceFiles::openDevice(const std::string& path, bool writable) {
    return ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
}

MsrDeviceFiles::MsrDeviceFiles(std::string root, OpenDevice open)
    : root_(std::move(root)), open_(std::move(open)) {
    scan();
}

MsrDeviceFiles::~MsrDeviceFiles() {
    close();
}

void MsrDeviceFiles::scan() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(root_, error)) {
        const std::optional<std::uint32_t> cpu = processorNumber(entry.path().filename().string());
        if (cpu && std::filesystem::exists(entry.path() / "msr", error)) {
            descriptors_.emplace(*cpu, -1);
        }
    }
    for (const auto& [cpu, fd] : descriptors_) {
        descriptor(cpu);
    }
}

void MsrDeviceFiles::close() {
    for (auto& [cpu, fd] : descriptors_) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

std::uint32_t MsrDeviceFiles::opened() const {
    std::uint32_t count = 0;
    for (const auto& [cpu, fd] : descriptors_) {
        count += fd >= 0 ? 1 : 0;
    }
    return count;
}

MsrStatus MsrDeviceFiles::usability() const {
    if (descriptors_.empty()) {
        return MsrStatus::NoDevices;
    }
    return opened() > 0 ? MsrStatus::Ok : MsrStatus::DeviceUnavailable;
}

bool MsrDeviceFiles::present(std::uint32_t processor) const {
    return descriptors_.contains(processor);
}

MsrStatus MsrDeviceFiles::read(std::uint32_t processor, std::uint32_t index, std::uint64_t& value) {
    const int fd = descriptor(processor);
    if (fd < 0) {
        return MsrStatus::DeviceUnavailable;
    }
    Halves halves{};
    const ssize_t got = pread(fd, halves.data(), sizeof halves, static_cast<off_t>(index));
    if (got != static_cast<ssize_t>(sizeof halves)) {
        return failure(got < 0 ? errno : 0);
    }
    value = std::uint64_t{halves[1]} << 32 | halves[0];
    return MsrStatus::Ok;
}

MsrStatus MsrDeviceFiles::write(std::uint32_t processor, std::uint32_t index, std::uint64_t value) {
    const int fd = descriptor(processor);
    if (fd < 0) {
        return MsrStatus::DeviceUnavailable;
    }
    const Halves halves{static_cast<std::uint32_t>(value), static_cast<std::uint32_t>(value >> 32)};
    const ssize_t put = pwrite(fd, halves.data(), sizeof halves, static_cast<off_t>(index));
    if (put != static_cast<ssize_t>(sizeof halves)) {
        return failure(put < 0 ? errno : 0);
    }
    return MsrStatus::Ok;
}

int MsrDeviceFiles::descriptor(std::uint32_t processor) {
    const auto known = descriptors_.find(processor);
    if (known == descriptors_.end()) {
        return -1;
    }
    if (known->second < 0) {
        const std::string path = root_ + "/" + std::to_string(processor) + "/msr";
        known->second = open_(path, true);
        if (known->second < 0) {
            known->second = open_(path, false);
        }
    }
    return known->second;
}

}  // namespace calidus
