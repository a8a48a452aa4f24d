#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "msrhelper/MsrDevices.h"

namespace calidus {

// The msr kernel module's devices <root>/<processor>/msr: eight bytes at the register's index,
// low half first; the kernel runs the access on that processor. Each device is opened once,
// read-write where allowed and read-only otherwise (reads then work, writes fail).
class MsrDeviceFiles : public MsrDevices {
  public:
    // A descriptor for a device path, or -1; tests replace it to have a device refused, since
    // root opens any file whatever its permissions.
    using OpenDevice = std::function<int(const std::string& path, bool writable)>;
    static int openDevice(const std::string& path, bool writable);

    explicit MsrDeviceFiles(std::string root, OpenDevice open = openDevice);
    ~MsrDeviceFiles() override;
    MsrDeviceFiles(const MsrDeviceFiles&) = delete;
    MsrDeviceFiles& operator=(const MsrDeviceFiles&) = delete;

    // Looks for the devices again (after the module was loaded) and opens them.
    void scan();
    // Closes every descriptor; the devices stay known.
    void close();

    std::uint32_t found() const { return static_cast<std::uint32_t>(descriptors_.size()); }
    std::uint32_t opened() const;
    // Ok, NoDevices or DeviceUnavailable (devices there, none opens): what a greeting says.
    MsrStatus usability() const;

    bool present(std::uint32_t processor) const override;
    MsrStatus read(std::uint32_t processor, std::uint32_t index, std::uint64_t& value) override;
    MsrStatus write(std::uint32_t processor, std::uint32_t index, std::uint64_t value) override;

  private:
    int descriptor(std::uint32_t processor);

    std::string root_;
    OpenDevice open_;
    std::map<std::uint32_t, int> descriptors_;  // processor -> descriptor, -1 until opened
};

}  // namespace calidus
