#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/DriverLibrary.h"

namespace calidus::testing {

// One register write asked of the driver.
struct AskedWrite {
    std::uint32_t processor = 0;
    std::uint32_t index = 0;
    std::uint32_t low = 0;
    bool operator==(const AskedWrite&) const = default;
};

// A driver passed through, remembering every write asked of it, whether or not it succeeded.
class WriteRecordingDriver : public DriverLibrary {
  public:
    WriteRecordingDriver(std::unique_ptr<DriverLibrary> driver, std::vector<AskedWrite>& writes)
        : driver_(std::move(driver)), writes_(writes) {}

    void start() override { driver_->start(); }
    std::uint32_t status() override { return driver_->status(); }
    bool msrAvailable() override { return driver_->msrAvailable(); }
    bool readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                 std::uint32_t& high) override {
        return driver_->readMsr(processor, index, low, high);
    }
    bool writeMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t low,
                  std::uint32_t high) override {
        writes_.push_back({processor, index, low});
        return driver_->writeMsr(processor, index, low, high);
    }
    void readBatch(std::span<MsrRead> reads) override { driver_->readBatch(reads); }
    void stop() override { driver_->stop(); }
    std::string takeNotice() override { return driver_->takeNotice(); }
    bool readOnly() const override { return driver_->readOnly(); }

  private:
    std::unique_ptr<DriverLibrary> driver_;
    std::vector<AskedWrite>& writes_;
};

}  // namespace calidus::testing
