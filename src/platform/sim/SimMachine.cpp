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
using msr::kFlexRatio;
using msr::kPerfStatus;
using msr::kPlatformInfo;
using msr::kThermStatus;
using msr::kTimeStampCounter;

constexpr double kCounterWrap = 1099511627776.0;  // the fixed counters are 40 bits wide
constexpr double kLoadSamplePeriod = 0.5;         // seconds between looks at the real load
constexpr std::uint32_t kReadingValid = 0x80000000;
constexpr std::uint32_t kOneDegreeResolution = 0x08000000;
// A core runs at its turbo limit for the busy cores once a thread of it is this busy.
constexpr double kBusyCore = 0.5;

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

}  // namespace

SimMachine::SimMachine(MachineDescription description, std::unique_ptr<Clock> clock,
                       std::unique_ptr<ProcessorTimeCounter> load)
    : description_(std::move(description)),
      clock_(std::move(clock)),
      load_(std::move(load)),
      origin_(clock_->counter()),
      affinity_(description_.processorCount()),
      points_(description_),
      coreOfProcessor_(coreOfEachProcessor(description_)),
      processors_(static_cast<std::size_t>(description_.processorCount())),
      thermal_(coreOfProcessor_) {
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

const RegisterScript* SimMachine::timed(std::uint32_t index) const {
    const auto it = description_.timedMsr.find(index);
    return it == description_.timedMsr.end() ? nullptr : &it->second;
}

std::uint64_t SimMachine::timedValue(const RegisterScript& script, double at) const {
    const auto second = static_cast<std::size_t>(std::max(at, 0.0));
    return script[std::min(second, script.size() - 1)];
}

std::uint64_t SimMachine::peek(const LogicalProcessor& processor, std::uint32_t index) const {
    const auto it = processor.registers.find(index);
    if (it == processor.registers.end()) {
        const RegisterScript* script = timed(index);
        return script != nullptr ? timedValue(*script, seconds()) : 0;
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

SimMachine::Second SimMachine::second(double at, double hostShare) const {
    Second second;
    const auto index = static_cast<std::size_t>(std::max(at, 0.0));
    const auto scripted = [index](const std::vector<double>& script) {
        return script[std::min(index, script.size() - 1)] / 100.0;
    };
    std::vector<bool> busy;
    for (std::size_t p = 0; p < processors_.size(); ++p) {
        const auto own = description_.load.find(static_cast<int>(p));
        double load = hostShare;
        if (own != description_.load.end()) {
            load = scripted(own->second);
        } else if (!description_.loadOfAll.empty()) {
            load = scripted(description_.loadOfAll);
        }
        if (programMask_ & (1u << p)) {
            load = 1.0;
        }
        second.activity.push_back(load * runningShare(processors_[p]));
        const std::uint32_t core = coreOfProcessor_[p];
        busy.resize(std::max<std::size_t>(busy.size(), core + 1));
        busy[core] = busy[core] || second.activity.back() >= kBusyCore;
    }
    second.busyCores = static_cast<int>(std::count(busy.begin(), busy.end(), true));
    const RegisterScript* flex = timed(kFlexRatio);
    second.flexRatio = flex != nullptr ? timedValue(*flex, at) : 0;
    return second;
}

double SimMachine::ratioOf(int index, const Second& second) const {
    const LogicalProcessor& processor = processors_[static_cast<std::size_t>(index)];
    return points_.ratio(second.activity[static_cast<std::size_t>(index)], second.busyCores,
                         second.flexRatio, peek(processor, kPerfStatus),
                         peek(processor, kPlatformInfo));
}

// Integrates second by second, since scripted loads and the flexible ratio change on whole
// seconds. Reference clocks tick at the time-stamp rate while the processor is not halted, core
// clocks at its ratio over the time-stamp counter's.
void SimMachine::advance(int index, double now) {
    LogicalProcessor& processor = processors_[static_cast<std::size_t>(index)];
    const double hostShare = hostLoad(now);
    const auto control = static_cast<std::uint32_t>(peek(processor, kFixedCounterControl));
    double from = std::min(processor.lastAdvance, now);
    double busyTime = 0.0;
    while (from < now) {
        const double to = std::min(now, std::floor(from) + 1.0);
        const Second during = second(from, hostShare);
        const double activity = during.activity[static_cast<std::size_t>(index)];
        const double referenceClocks = (to - from) * points_.tscHz(during.flexRatio) * activity;
        if ((control & 0x300) != 0) {
            processor.fixedReference = wrapped(processor.fixedReference + referenceClocks);
        }
        if ((control & 0x30) != 0) {
            processor.fixedCore =
                wrapped(processor.fixedCore + referenceClocks * ratioOf(index, during) /
                                                  points_.tscRatio(during.flexRatio));
        }
        busyTime += (to - from) * activity;
        from = to;
    }
    const double elapsed = std::max(now - processor.lastAdvance, 0.0);
    thermal_.advance(index, elapsed > 0 ? busyTime / elapsed : 0.0, elapsed);
    processor.lastAdvance = now;
}

std::uint64_t SimMachine::thermalStatus(int index) const {
    const auto distance = static_cast<std::uint32_t>(thermal_.distanceBelowTjMax(index));
    return kReadingValid | kOneDegreeResolution | distance << 16;
}

bool SimMachine::readMsr(std::uint32_t processor, std::uint32_t index, std::uint64_t& value) {
    return accessible(processor, index) && readForKernel(processor, index, value);
}

bool SimMachine::readForKernel(std::uint32_t processor, std::uint32_t index, std::uint64_t& value) {
    if (processor >= processors_.size() || description_.missing.count(index) != 0) {
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
        if (index == kPerfStatus) {
            const double now = seconds();
            const Second during = second(now, hostLoad(now));
            value = points_.perfStatus(value, ratioOf(current, during), during.flexRatio);
        }
        return true;
    }
    if (const RegisterScript* script = timed(index)) {
        value = timedValue(*script, seconds());
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

// The time-stamp counter follows the clock and the operating points; the program never sets it.
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

void SimMachine::setProgramLoad(int program, std::uint32_t mask) {
    const std::lock_guard lock(mutex_);
    // What ran so far ran under the old load.
    const double now = seconds();
    for (int p = 0; p < static_cast<int>(processors_.size()); ++p) {
        advance(p, now);
    }
    if (mask == 0) {
        programs_.erase(program);
    } else {
        programs_[program] = mask;
    }
    programMask_ = 0;
    for (const auto& [id, busy] : programs_) {
        programMask_ |= busy;
    }
}

double SimMachine::coreMHz(std::uint32_t processor) {
    const std::lock_guard lock(mutex_);
    const double now = seconds();
    const Second during = second(now, hostLoad(now));
    const double busHz = points_.tscHz(during.flexRatio) / points_.tscRatio(during.flexRatio);
    return busHz * ratioOf(static_cast<int>(processor), during) / 1e6;
}

CpuidResult SimMachine::cpuid(std::uint32_t leaf, std::uint32_t subleaf) {
    return simulatedCpuid(description_, affinity_.currentProcessor(), leaf, subleaf);
}

std::uint64_t SimMachine::rdtsc() {
    const auto elapsed =
        static_cast<std::uint64_t>(std::max<std::int64_t>(clock_->counter() - origin_, 0));
    return tscAt(elapsed);
}

// Whole seconds exactly, the fraction in floating point, so nothing overflows; a timed flexible
// ratio changes the rate from its second on.
std::uint64_t SimMachine::tscAt(std::uint64_t counterTicks) const {
    const auto frequency = static_cast<std::uint64_t>(clock_->counterFrequency());
    const std::uint64_t whole = counterTicks / frequency;
    const double fraction =
        static_cast<double>(counterTicks % frequency) / static_cast<double>(frequency);
    const RegisterScript* flex = timed(kFlexRatio);
    const auto rate = [&](std::uint64_t second) {
        const std::uint64_t value =
            flex != nullptr ? timedValue(*flex, static_cast<double>(second)) : 0;
        return static_cast<std::uint64_t>(std::llround(points_.tscHz(value)));
    };
    std::uint64_t ticks = 0;
    const std::uint64_t varying =
        flex != nullptr ? std::min<std::uint64_t>(whole, flex->size()) : 0;
    for (std::uint64_t second = 0; second < varying; ++second) {
        ticks += rate(second);
    }
    ticks += (whole - varying) * rate(whole);
    return ticks + static_cast<std::uint64_t>(fraction * static_cast<double>(rate(whole)));
}

}  // namespace calidus
