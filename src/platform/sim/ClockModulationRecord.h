#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/DriverLibrary.h"

namespace calidus {

// Lets a script see from outside what a run of the simulated machine left in the clock
// modulation register: the file is rewritten at every write of MSR 0x19A, one line per logical
// processor written so far, and gets a last line when the driver stops. Everything else passes
// through to the driver it wraps.
class ClockModulationRecord : public DriverLibrary {
  public:
    ClockModulationRecord(std::unique_ptr<DriverLibrary> driver, std::filesystem::path file);

    void start() override { driver_->start(); }
    std::uint32_t status() override { return driver_->status(); }
    bool msrAvailable() override { return driver_->msrAvailable(); }
    bool readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                 std::uint32_t& high) override {
        return driver_->readMsr(processor, index, low, high);
    }
    bool writeMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t low,
                  std::uint32_t high) override;
    void readBatch(std::span<MsrRead> reads) override { driver_->readBatch(reads); }
    void stop() override;
    std::string takeNotice() override { return driver_->takeNotice(); }
    bool readOnly() const override { return driver_->readOnly(); }
    double kernelClockMHz(std::uint32_t processor) override {
        return driver_->kernelClockMHz(processor);
    }

  private:
    void write(bool stopped) const;

    std::unique_ptr<DriverLibrary> driver_;
    std::filesystem::path file_;
    std::map<std::uint32_t, std::uint32_t> lowHalves_;  // by logical processor
};

}  // namespace calidus
