#include "platform/sim/SimMachine.h"

#include <algorithm>
#include <cmath>

#include "common/Registers.h"
#include "platform/sim/SimulatedCpuid.h"

namespace calidus {

namespace {

using msr::kClockModulation;
using msr::kFixedCoreClocks;
using msr::kFixedCounterControl;
using msr::kFixedReferenceClocks;
using msr::kPerfStatus;
using msr::kPlatformInfo;
using msr::kThermStatus;
using msr::kTimeStampCounter;

constexpr double kCounterWrap = 1099511627776.0;  // the fixed counters are 40 bits wide
constexpr double kLoadSamplePeriod = 0.5;         // seconds between looks at the real load
constexpr std::uint32_t kReadingValid = 0x80000000;
constexpr std::uint32_t kOneDegreeResolution = 0x08000000;

// Initial APIC ids count threads within a core first.
std::vector<std::uint32_t> coreOfEachProcessor(const MachineDescription& machine) {
    const std::uint32_t threadsPerCore =
        std::max(machine.logicalPerPackage / machine.coresPerPackage, 1u);
    std::vector<std::uint32_t> cores;
    for (std::uint32_t apicId : machine.apicIds) {
        cores.push_back(apicId / threadsPerCore);
    }
    return cores;
}

double wrapped(double counter) {
    return std::fmod(counter, kCounterWrap);
}

// A ratio field of bits 12:8 with bit 14 adding a half.
double halfStepRatio(std::uint32_t word) {
    return static_cast<double>((word >> 8) & 0x1F) + ((word & 0x4000) != 0 ? 0.5 : 0.0);
}

}  // namespace

SimMachine::SimMachine(MachineDescription description, std::unique_ptr<Clock> clock,
                       std::unique_ptr<ProcessorTimeCounter> load)
    : description_(std::move(description)),
      clock_(std::move(clock)),
      load_(std::move(load)),
      origin_(clock_->counter()),
      affinity_(description_.processorCount()),
      processors_(static_cast<std::size_t>(description_.processorCount())),
      thermal_(coreOfEachProcessor(description_)) {
    for (std::size_t p = 0; p < processors_.size(); ++p) {
        RegisterFile registers = description_.msr;
        const auto overrides = description_.msrOverrides.find(static_cast<int>(p));
        if (overrides != description_.msrOverrides.end()) {
            for (const auto& [index, script] : overrides->second) {
                registers[index] = script;
            }
        }
        for (auto& [index, script] : registers) {
            processors_[p].registers[index].values = std::move(script);
        }
    }
    // The counter's first figure covers only the moments since it was made; the machine starts
    // idle and takes its first real look half a second in.
    load_->busyPercent();
}

bool SimMachine::accessible(std::uint32_t processor, std::uint32_t index) const {
    return description_.driverStatus == 0 && description_.msrAvailable &&
           processor < processors_.size() && description_.missing.count(index) == 0;
}

double SimMachine::seconds() const {
    const std::int64_t elapsed = std::max<std::int64_t>(clock_->counter() - origin_, 0);
    return static_cast<double>(elapsed) / static_cast<double>(clock_->counterFrequency());
}

double SimMachine::hostLoad(double now) {
    if (now - loadSampledAt_ >= kLoadSamplePeriod) {
        loadShare_ = std::clamp(load_->busyPercent() / 100.0, 0.0, 1.0);
        loadSampledAt_ = now;
    }
    return loadShare_;
}

std::uint64_t SimMachine::peek(const LogicalProcessor& processor, std::uint32_t index) const {
    const auto it = processor.registers.find(index);
    if (it == processor.registers.end()) {
        return 0;
    }
    const Register& reg = it->second;
    return reg.values[std::min(reg.next, reg.values.size() - 1)];
}

// On-demand clock modulation (bit 4) lets the processor run duty/8 of the time; duty 0 is
// taken as the 50 % the monitor shows for it.
double SimMachine::runningShare(const LogicalProcessor& processor) const {
    const auto modulation = static_cast<std::uint32_t>(peek(processor, kClockModulation));
    if ((modulation & 0x10) == 0) {
        return 1.0;
    }
    const std::uint32_t duty = (modulation >> 1) & 7;
    return duty == 0 ? 0.5 : duty * 0.125;
}

// The current ratio over the base ratio: from PLATFORM_INFO and the low byte of PERF_STATUS on
// processors that have the former, else from PERF_STATUS's current and maximum ratio fields.
double SimMachine::coreToReferenceRatio(const LogicalProcessor& processor) const {
    const std::uint64_t perfStatus = peek(processor, kPerfStatus);
    const auto low = static_cast<std::uint32_t>(perfStatus);
    const double platformBase = static_cast<double>((peek(processor, kPlatformInfo) >> 8) & 0xFF);
    const double base = platformBase > 0
                            ? platformBase
                            : halfStepRatio(static_cast<std::uint32_t>(perfStatus >> 32));
    const double current = platformBase > 0 ? static_cast<double>(low & 0xFF) : halfStepRatio(low);
    return base > 0 && current > 0 ? current / base : 1.0;
}

void SimMachine::advance(int index, double now) {
    LogicalProcessor& processor = processors_[static_cast<std::size_t>(index)];
    const double elapsed = std::max(now - processor.lastAdvance, 0.0);
    processor.lastAdvance = now;
    const double activity = hostLoad(now) * runningShare(processor);
    thermal_.advance(index, activity, elapsed);

    // Reference clocks tick at the TSC rate while the processor is not halted.
    const double referenceClocks = elapsed * description_.tscMHz * 1e6 * activity;
    const auto control = static_cast<std::uint32_t>(peek(processor, kFixedCounterControl));
    if ((control & 0x300) != 0) {
        processor.fixedReference = wrapped(processor.fixedReference + referenceClocks);
    }
    if ((control & 0x30) != 0) {
        processor.fixedCore =
            wrapped(processor.fixedCore + referenceClocks * coreToReferenceRatio(processor));
    }
}

std::uint64_t SimMachine::thermalStatus(int index) const {
    const auto distance = static_cast<std::uint32_t>(thermal_.distanceBelowTjMax(index));
    return kReadingValid | kOneDegreeResolution | distance << 16;
}

bool SimMachine::readMsr(std::uint32_t processor, std::uint32_t index, std::uint64_t& value) {
    if (!accessible(processor, index)) {
        return false;
    }
    if (index == kTimeStampCounter) {
        value = rdtsc();
        return true;
    }
    const int current = static_cast<int>(processor);
    const std::lock_guard lock(mutex_);
    LogicalProcessor& state = processors_[processor];
    const auto described = state.registers.find(index);
    if (described != state.registers.end()) {
        Register& reg = described->second;
        value = reg.values[reg.next];
        reg.next = std::min(reg.next + 1, reg.values.size() - 1);
        return true;
    }
    if (index == kThermStatus || index == kFixedCoreClocks || index == kFixedReferenceClocks) {
        advance(current, seconds());
    }
    switch (index) {
        case kThermStatus:
            value = thermalStatus(current);
            return true;
        case kFixedCoreClocks:
            value = static_cast<std::uint64_t>(state.fixedCore);
            return true;
        case kFixedReferenceClocks:
            value = static_cast<std::uint64_t>(state.fixedReference);
            return true;
        default:
            value = 0;
            return true;
    }
}

// The time-stamp counter follows the clock alone; the program never sets it.
bool SimMachine::writeMsr(std::uint32_t processor, std::uint32_t index, std::uint64_t value) {
    if (!accessible(processor, index) || index == kTimeStampCounter) {
        return false;
    }
    const std::lock_guard lock(mutex_);
    // What ran so far ran under the old modulation and counter settings.
    advance(static_cast<int>(processor), seconds());
    LogicalProcessor& state = processors_[processor];
    const bool modelledCounter = (index == kFixedCoreClocks || index == kFixedReferenceClocks) &&
                                 state.registers.count(index) == 0;
    if (!modelledCounter) {
        state.registers[index] = Register{{value}, 0};
    } else if (index == kFixedCoreClocks) {
        state.fixedCore = wrapped(static_cast<double>(value));
    } else {
        state.fixedReference = wrapped(static_cast<double>(value));
    }
    return true;
}

CpuidResult SimMachine::cpuid(std::uint32_t leaf, std::uint32_t subleaf) {
    return simulatedCpuid(description_, affinity_.currentProcessor(), leaf, subleaf);
}

std::uint64_t SimMachine::rdtsc() {
    const auto elapsed =
        static_cast<std::uint64_t>(std::max<std::int64_t>(clock_->counter() - origin_, 0));
    const auto frequency = static_cast<std::uint64_t>(clock_->counterFrequency());
    const auto tscHz = static_cast<std::uint64_t>(std::llround(description_.tscMHz * 1e6));
    // Whole seconds exactly, the fraction in floating point, so nothing overflows.
    const double fraction = static_cast<double>(elapsed % frequency) * static_cast<double>(tscHz) /
                            static_cast<double>(frequency);
    return elapsed / frequency * tscHz + static_cast<std::uint64_t>(fraction);
}

}  // namespace calidus
