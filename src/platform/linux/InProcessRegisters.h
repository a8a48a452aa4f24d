#pragma once

#include <functional>
#include <optional>
#include <string>

#include "msrhelper/MsrGate.h"
#include "platform/linux/RegisterPath.h"
#include "platform/linux/msr/MsrDeviceFiles.h"

namespace calidus {

// The msr devices opened by the program itself (it runs as root), behind the helper's gate.
class InProcessRegisters : public RegisterPath {
  public:
    // `loadModule` runs when no device exists; true when it loaded the module.
    InProcessRegisters(std::string root, std::function<bool()> loadModule,
                       MsrDeviceFiles::OpenDevice open = MsrDeviceFiles::openDevice);

    RegisterAccessProblem open() override;
    bool exchange(std::span<HelperRecord> records) override;
    void close() override;

  private:
    std::string root_;
    std::function<bool()> loadModule_;
    MsrDeviceFiles::OpenDevice openDevice_;
    std::optional<MsrDeviceFiles> devices_;
    std::optional<MsrGate> gate_;
};

}  // namespace calidus
