#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace calidus {

struct MsrValue {
    std::uint32_t low = 0;
    std::uint32_t high = 0;

    bool operator==(const MsrValue&) const = default;
};

enum class MsrUpdate {
    Written,
    Unchanged,   // the register already held the value: nothing written
    ReadFailed,  // nothing written, since the other fields are unknown
    WriteFailed,
};

// The one way the program touches the processor: registers of a named logical processor
// through the driver library, CPUID and RDTSC on the processor the thread runs on, and pinning
// the calling thread where an instruction must run on a given processor.
class ProcessorAccess {
  public:
    explicit ProcessorAccess(Platform& platform) : platform_(platform) {}

    // The all-processors mask that unpin restores; set once the masks are known at start-up.
    void setSystemMask(std::uint32_t mask) { systemMask_ = mask; }
    std::uint32_t systemMask() const { return systemMask_; }

    void startDriver() { platform_.driver->start(); }
    std::uint32_t driverStatus() { return platform_.driver->status(); }
    bool msrAvailable() { return platform_.driver->msrAvailable(); }
    // On the kernel's sensors: no register can be read or written.
    bool readOnly() const { return platform_.driver->readOnly(); }
    void stopDriver() { platform_.driver->stop(); }

    // Outputs keep their previous content when the read fails.
    bool readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                 std::uint32_t& high) {
        return platform_.driver->readMsr(processor, index, low, high);
    }
    // Zeros when the read fails.
    MsrValue readMsr(std::uint32_t processor, std::uint32_t index) {
        MsrValue value;
        readMsr(processor, index, value.low, value.high);
        return value;
    }
    void readBatch(std::span<MsrRead> reads) { platform_.driver->readBatch(reads); }
    // Every register write: the current value goes through `change`, and the result is written
    // only when the read succeeded and the value differs (the kernel logs each write).
    MsrUpdate updateMsr(std::uint32_t processor, std::uint32_t index,
                        const std::function<MsrValue(MsrValue)>& change);

    CpuidResult cpuid(std::uint32_t leaf, std::uint32_t subleaf = 0) {
        return platform_.processor->cpuid(leaf, subleaf);
    }
    std::uint64_t readTimeStampCounter() { return platform_.processor->rdtsc(); }

    // False when the scheduler refused the mask (a cpuset may); the thread then stays where it
    // was, so nothing that must run on that processor may follow.
    bool pinToProcessor(std::uint32_t mask);
    void unpin() { platform_.scheduler->setThreadAffinity(systemMask_); }
    void unpinAndYield() {
        unpin();
        platform_.scheduler->sleep(std::chrono::milliseconds(0));
    }
    // The whole process, for work that must not see the thread move.
    bool pinProcessToProcessor(std::uint32_t mask);
    void unpinProcess() { pinProcessToProcessor(systemMask_); }

  private:
    Platform& platform_;
    std::uint32_t systemMask_ = 1;
};

// The logical processor that stands for a core: the lowest of its mask.
std::uint32_t processorOfMask(std::uint32_t mask);

// The text the "Driver Error" box shows for a driver status code.
std::string driverStatusText(std::uint32_t status);

// The line under that text which says what failed and what to do (empty when nothing can be
// said): status 0 means the driver started but a register read failed.
std::string driverFailureHint(std::uint32_t status, std::string_view program);

}  // namespace calidus
