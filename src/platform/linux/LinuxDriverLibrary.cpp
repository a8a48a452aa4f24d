#include "platform/linux/LinuxDriverLibrary.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <optional>

#include "common/Registers.h"
#include "platform/linux/LinuxCommandRunner.h"

namespace calidus {

namespace {

// The msr module moves each register as two 32-bit words, EAX then EDX.
using Halves = std::array<std::uint32_t, 2>;

std::optional<std::uint32_t> processorNumber(const std::string& name) {
    std::uint32_t cpu = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), cpu);
    if (error != std::errc() || end != name.data() + name.size()) {
        return std::nullopt;
    }
    return cpu;
}

}  // namespace

int LinuxDriverLibrary::openDevice(const std::string& path, bool writable) {
    return ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
}

LinuxDriverLibrary::LinuxDriverLibrary()
    : LinuxDriverLibrary("/dev/cpu", std::make_unique<LinuxCommandRunner>(),
                         [] { return geteuid() == 0; }) {}

LinuxDriverLibrary::LinuxDriverLibrary(std::string root, std::unique_ptr<CommandRunner> runner,
                                       std::function<bool()> runningAsRoot, OpenDevice open)
    : root_(std::move(root)),
      runner_(std::move(runner)),
      runningAsRoot_(std::move(runningAsRoot)),
      open_(std::move(open)) {}

LinuxDriverLibrary::~LinuxDriverLibrary() {
    closeDevices();
}

void LinuxDriverLibrary::start() {
    if (presentDevices().empty() && runningAsRoot_()) {
        runner_->run({"modprobe", "msr"});
    }
}

std::uint32_t LinuxDriverLibrary::status() {
    const std::vector<std::uint32_t> cpus = presentDevices();
    if (cpus.empty()) {
        return kNoDevice;
    }
    for (const std::uint32_t cpu : cpus) {
        if (device(cpu) >= 0) {
            return kUsable;
        }
    }
    return kDeviceRefused;
}

bool LinuxDriverLibrary::msrAvailable() {
    const std::vector<std::uint32_t> cpus = presentDevices();
    if (cpus.empty()) {
        return false;
    }
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    return readMsr(*std::min_element(cpus.begin(), cpus.end()), msr::kTimeStampCounter, low, high);
}

bool LinuxDriverLibrary::readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                                 std::uint32_t& high) {
    const int fd = device(processor);
    Halves value{};
    if (fd < 0 || pread(fd, value.data(), sizeof value, static_cast<off_t>(index)) !=
                      static_cast<ssize_t>(sizeof value)) {
        return false;
    }
    low = value[0];
    high = value[1];
    return true;
}

bool LinuxDriverLibrary::writeMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t low,
                                  std::uint32_t high) {
    const int fd = device(processor);
    const Halves value{low, high};
    return fd >= 0 && pwrite(fd, value.data(), sizeof value, static_cast<off_t>(index)) ==
                          static_cast<ssize_t>(sizeof value);
}

void LinuxDriverLibrary::stop() {
    closeDevices();
}

std::vector<std::uint32_t> LinuxDriverLibrary::presentDevices() const {
    std::vector<std::uint32_t> cpus;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(root_, error)) {
        const std::string name = entry.path().filename().string();
        const std::optional<std::uint32_t> cpu = processorNumber(name);
        if (cpu && std::filesystem::exists(entry.path() / "msr", error)) {
            cpus.push_back(*cpu);
        }
    }
    return cpus;
}

int LinuxDriverLibrary::device(std::uint32_t cpu) {
    const auto known = descriptors_.find(cpu);
    if (known != descriptors_.end()) {
        return known->second;
    }
    const std::string path = root_ + "/" + std::to_string(cpu) + "/msr";
    int fd = open_(path, true);
    if (fd < 0) {
        fd = open_(path, false);
    }
    if (fd >= 0) {
        descriptors_.emplace(cpu, fd);
    }
    return fd;
}

void LinuxDriverLibrary::closeDevices() {
    for (const auto& [cpu, fd] : descriptors_) {
        close(fd);
    }
    descriptors_.clear();
}

}  // namespace calidus
