#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Clock.h"
#include "platform/Processor.h"
#include "platform/ProcessorTimeCounter.h"
#include "platform/sim/MachineDescription.h"
#include "platform/sim/OperatingPoints.h"
#include "platform/sim/ThermalModel.h"
#include "platform/sim/ThreadAffinity.h"

namespace calidus {

// The state of one simulated machine, shared by its driver, processor and scheduler. Registers
// belong to the logical processor named; instructions act on the one the calling thread runs
// on. Without a scripted 0x19C a processor's sensor follows the thermal model; the fixed counters
// 0x30A and 0x30B count unless scripted, driven by time, the core ratio and how busy the
// processor is (its scripted load, else the real machine's); 0x10 is the time-stamp counter that
// RDTSC reads, at the rate of the operating points.
class SimMachine {
  public:
    // `clock` times the TSC, the counters and the sensors; `load` is the real machine's busy
    // share that heats them.
    SimMachine(MachineDescription description, std::unique_ptr<Clock> clock,
               std::unique_ptr<ProcessorTimeCounter> load);

    const MachineDescription& description() const { return description_; }
    ThreadAffinity& affinity() { return affinity_; }

    // Fail (outputs untouched) for a register the description calls missing, a processor the
    // machine lacks, or when the driver is not usable.
    bool readMsr(std::uint32_t processor, std::uint32_t index, std::uint64_t& value);
    bool writeMsr(std::uint32_t processor, std::uint32_t index, std::uint64_t value);
    // A register as the kernel's own drivers read it, whatever the program's access.
    bool readForKernel(std::uint32_t processor, std::uint32_t index, std::uint64_t& value);
    // The clock a processor runs at now, as the kernel's cpufreq tells it.
    double coreMHz(std::uint32_t processor);

    // A program started on the machine keeps the processors of `mask` wholly busy, whatever the
    // load says, until it is said to have ended (mask 0).
    void setProgramLoad(int program, std::uint32_t mask);

    CpuidResult cpuid(std::uint32_t leaf, std::uint32_t subleaf);
    std::uint64_t rdtsc();

  private:
    struct Register {
        RegisterScript values;
        std::size_t next = 0;
    };
    struct LogicalProcessor {
        std::map<std::uint32_t, Register> registers;  // described or written
        double fixedCore = 0.0;                       // 0x30A, unhalted core clocks
        double fixedReference = 0.0;                  // 0x30B, unhalted reference clocks
        double lastAdvance = 0.0;                     // seconds
    };

    // What every processor does during one simulated second.
    struct Second {
        std::vector<double> activity;  // 0..1: load times clock-modulation duty
        int busyCores = 0;
        std::uint64_t flexRatio = 0;
    };

    bool accessible(std::uint32_t processor, std::uint32_t index) const;
    double seconds() const;
    double hostLoad(double now);
    const RegisterScript* timed(std::uint32_t index) const;
    std::uint64_t timedValue(const RegisterScript& script, double at) const;
    std::uint64_t peek(const LogicalProcessor& processor, std::uint32_t index) const;
    double runningShare(const LogicalProcessor& processor) const;
    Second second(double at, double hostShare) const;
    double ratioOf(int index, const Second& second) const;
    void advance(int index, double now);
    std::uint64_t thermalStatus(int index) const;
    std::uint64_t tscAt(std::uint64_t counterTicks) const;

    const MachineDescription description_;
    const std::unique_ptr<Clock> clock_;
    const std::unique_ptr<ProcessorTimeCounter> load_;
    const std::int64_t origin_;
    ThreadAffinity affinity_;

    const OperatingPoints points_;
    const std::vector<std::uint32_t> coreOfProcessor_;

    std::mutex mutex_;
    std::vector<LogicalProcessor> processors_;
    ThermalModel thermal_;
    double loadSampledAt_ = 0.0;
    double loadShare_ = 0.0;
    std::map<int, std::uint32_t> programs_;  // the processors each running program keeps busy
    std::uint32_t programMask_ = 0;
};

}  // namespace calidus
