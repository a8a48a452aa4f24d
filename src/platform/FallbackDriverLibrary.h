#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/DriverLibrary.h"

namespace calidus {

// The registers when they can be had, otherwise the read-only kernel sensors when the machine
// has them: decided once, at the start. Running read-only is said once, with how to get the
// registers.
class FallbackDriverLibrary : public DriverLibrary {
  public:
    // `readOnly` gives the kernel sensors, or nothing when the machine has none.
    FallbackDriverLibrary(std::unique_ptr<DriverLibrary> registers,
                          std::function<std::unique_ptr<DriverLibrary>()> readOnly);

    void start() override;
    std::uint32_t status() override { return active().status(); }
    bool msrAvailable() override { return active().msrAvailable(); }
    bool readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                 std::uint32_t& high) override {
        return active().readMsr(processor, index, low, high);
    }
    bool writeMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t low,
                  std::uint32_t high) override {
        return active().writeMsr(processor, index, low, high);
    }
    void readBatch(std::span<MsrRead> reads) override { active().readBatch(reads); }
    void stop() override { active().stop(); }
    std::string takeNotice() override;
    bool readOnly() const override { return kernel_ != nullptr; }
    double kernelClockMHz(std::uint32_t processor) override {
        return active().kernelClockMHz(processor);
    }

  private:
    DriverLibrary& active() { return kernel_ ? *kernel_ : *registers_; }

    std::unique_ptr<DriverLibrary> registers_;
    std::function<std::unique_ptr<DriverLibrary>()> readOnly_;
    std::unique_ptr<DriverLibrary> kernel_;
    std::string notice_;
};

}  // namespace calidus
