#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace calidus {

struct MsrValue {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
};

// The one way the program touches the processor: registers through the driver library,
// CPUID and RDTSC, and pinning the calling thread to a set of logical processors.
class ProcessorAccess {
  public:
    explicit ProcessorAccess(Platform& platform) : platform_(platform) {}

    // The all-processors mask that unpin restores; set once the masks are known at start-up.
    void setSystemMask(std::uint32_t mask) { systemMask_ = mask; }
    std::uint32_t systemMask() const { return systemMask_; }

    void startDriver() { platform_.driver->start(); }
    std::uint32_t driverStatus() { return platform_.driver->status(); }
    bool msrAvailable() { return platform_.driver->msrAvailable(); }
    void stopDriver() { platform_.driver->stop(); }

    // Outputs keep their previous content when the read fails.
    bool readMsr(std::uint32_t index, std::uint32_t& low, std::uint32_t& high) {
        return platform_.driver->readMsr(index, low, high);
    }
    MsrValue readMsr(std::uint32_t index) {
        MsrValue value;
        readMsr(index, value.low, value.high);
        return value;
    }
    bool writeMsr(std::uint32_t index, std::uint32_t low, std::uint32_t high) {
        return platform_.driver->writeMsr(index, low, high);
    }

    CpuidResult cpuid(std::uint32_t leaf, std::uint32_t subleaf = 0) {
        return platform_.processor->cpuid(leaf, subleaf);
    }
    std::uint64_t readTimeStampCounter() { return platform_.processor->rdtsc(); }

    void pinToProcessor(std::uint32_t mask) {
        platform_.scheduler->setThreadAffinity(mask);
        platform_.scheduler->sleep(std::chrono::milliseconds(0));
    }
    void unpin() { platform_.scheduler->setThreadAffinity(systemMask_); }
    void unpinAndYield() {
        unpin();
        platform_.scheduler->sleep(std::chrono::milliseconds(0));
    }
    // The whole process, for work that must not see the thread move.
    void pinProcessToProcessor(std::uint32_t mask) {
        platform_.scheduler->setProcessAffinity(mask);
        platform_.scheduler->sleep(std::chrono::milliseconds(0));
    }
    void unpinProcess() { pinProcessToProcessor(systemMask_); }

  private:
    Platform& platform_;
    std::uint32_t systemMask_ = 1;
};

// The text the "Driver Error" box shows for a driver status code.
std::string driverStatusText(std::uint32_t status);

}  // namespace calidus
