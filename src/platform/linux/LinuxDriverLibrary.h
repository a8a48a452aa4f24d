#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/CommandRunner.h"
#include "platform/DriverLibrary.h"

namespace calidus {

// Registers through the msr kernel module's devices <root>/<cpu>/msr: eight bytes at the
// register's index, low half first. The kernel executes the access on the device's processor,
// so the calling thread never moves. One descriptor per processor, opened on first use,
// read-write where allowed and read-only otherwise (reads then work, writes fail). Used by one
// thread at a time.
class LinuxDriverLibrary : public DriverLibrary {
  public:
    // A descriptor for a device path, or -1; tests replace it to have a device refused,
    // since root opens any file whatever its permissions.
    using OpenDevice = std::function<int(const std::string& path, bool writable)>;
    static int openDevice(const std::string& path, bool writable);

    static constexpr std::uint32_t kUsable = 0;
    static constexpr std::uint32_t kDeviceRefused = 2;  // "Driver Not Loaded ..."
    static constexpr std::uint32_t kNoDevice = 3;       // "Driver Not Found"

    // /dev/cpu, modprobe run by LinuxCommandRunner, root when the effective user id is 0.
    LinuxDriverLibrary();
    LinuxDriverLibrary(std::string root, std::unique_ptr<CommandRunner> runner,
                       std::function<bool()> runningAsRoot, OpenDevice open = openDevice);
    ~LinuxDriverLibrary() override;
    LinuxDriverLibrary(const LinuxDriverLibrary&) = delete;
    LinuxDriverLibrary& operator=(const LinuxDriverLibrary&) = delete;

    // Loads the msr module when no device exists; only root may.
    void start() override;
    // Usable once one device opens; refused when devices exist but none opens.
    std::uint32_t status() override;
    // Whether the time-stamp counter (IA32_TSC) reads on the lowest processor with a device.
    bool msrAvailable() override;
    // A failed access (no device, register out of range) leaves low and high as they were.
    bool readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                 std::uint32_t& high) override;
    bool writeMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t low,
                  std::uint32_t high) override;
    // Closes every descriptor.
    void stop() override;

  private:
    std::vector<std::uint32_t> presentDevices() const;
    int device(std::uint32_t cpu);
    void closeDevices();

    std::string root_;
    std::unique_ptr<CommandRunner> runner_;
    std::function<bool()> runningAsRoot_;
    OpenDevice open_;
    std::map<std::uint32_t, int> descriptors_;  // processor -> open descriptor
};

}  // namespace calidus
