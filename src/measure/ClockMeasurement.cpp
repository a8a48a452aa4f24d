#include "measure/ClockMeasurement.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "common/Registers.h"
#include "measure/ClockFigure.h"
#include "measure/ClockRatios.h"
#include "measure/FixedCounters.h"
#include "measure/LoadThread.h"

namespace calidus {

namespace {

using msr::kFixedCoreClocks;
using msr::kFixedReferenceClocks;
using msr::kFlexRatio;
using msr::kMiscEnable;
using msr::kPerfStatus;
using msr::kPlatformId;
using msr::kPlatformInfo;
using msr::kPowerOnConfiguration;
using msr::kTimeStampCounter;
using msr::kTurboRatioLimit;

// Bit 38 of IA32_MISC_ENABLE: while set, IA32_PERF_STATUS shows the non-accelerated maximum.
constexpr std::uint32_t kAccelerationDisengaged = 1u << 6;
constexpr double kStoppedCounters = 0.05;
constexpr std::chrono::milliseconds kSnapshotSettle{100};
constexpr int kCounterRegisters = 3;

std::optional<MsrValue> readOn(ProcessorAccess& access, int processor, std::uint32_t index) {
    MsrValue value;
    if (!access.readMsr(static_cast<std::uint32_t>(processor), index, value.low, value.high)) {
        return std::nullopt;
    }
    return value;
}

std::uint64_t wide(MsrValue value) {
    return std::uint64_t{value.high} << 32 | value.low;
}

bool atomWithoutCounters(std::uint32_t cpuSignature) {
    return cpuSignature >= 0x106C0 && cpuSignature <= 0x106CF;
}

// The processor whose registers stand for the package's.
int firstProcessor(const ProcessorAccess& access) {
    return access.systemMask() == 0 ? 0 : std::countr_zero(access.systemMask());
}

ThreadPriority workerPriority(const Edition& edition) {
    return edition.timeCriticalWorkerThreads ? ThreadPriority::TimeCritical
                                             : ThreadPriority::AboveNormal;
}

}  // namespace

int ClockMeasurement::entries(const RunContext& run) const {
    return std::min(run.edition.highestLogicalProcessor + 1, kClockEntries);
}

bool ClockMeasurement::present(const RunContext& run, int processor) const {
    return (clock_.systemMask >> processor & 1u) != 0 && processor < entries(run);
}

void ClockMeasurement::snapshotCounters(RunContext& run, const ProcessorInfo& processor) {
    processor_ = &processor;
    clock_.processMask = run.config.processMask;
    clock_.systemMask = run.config.systemMask;
    clock_.loadScale = 1.0;
    clock_.cpuSignature = processor.cpuSignature;
    clock_.platformInfoClass = processor.platformInfoClass;
    initRatios(run);
    enableFixedCounters(run.access, run.edition.highestLogicalProcessor);
    clock_.processorCount = 0;
    for (int p = 0; p < entries(run); ++p) {
        clock_.processorCount += present(run, p) ? 1 : 0;
    }
    const std::vector<CounterReading> readings = readCounters(run);
    storeReadings(clock_, readings);
    run.platform.scheduler->sleep(kSnapshotSettle);
}

void ClockMeasurement::applySettings(const Settings& settings) {
    clock_.useFixedCounters = !settings.msrMulti && !atomWithoutCounters(clock_.cpuSignature);
}

void ClockMeasurement::startThread(RunContext& run) {
    Clock& clock = *run.platform.clock;
    Processor& processor = *run.platform.processor;
    Scheduler& scheduler = *run.platform.scheduler;
    std::atomic<int>& flag = run.threads.clockThreadFlag;
    const ClockThreadOptions options{.priority = workerPriority(run.edition)};
    run.threads.clockThreadStarted = true;
    thread_.start(flag, [&flag, &clock, &processor, &scheduler, this, options] {
        runClockThread(flag, clock, processor, scheduler, figures_, options);
    });
}

void ClockMeasurement::startRunTime(std::time_t now, std::chrono::milliseconds tickPeriod) {
    runTime_.start(now, tickPeriod);
}

void ClockMeasurement::resetRunTime(MonitorState& state) {
    runTime_.reset();
    state.clock.runTimeSeconds = 0;
}

void ClockMeasurement::shutDown(RunContext&) {
    thread_.join();
}

// Processors with MSR_PLATFORM_INFO read their ratios from it; the others from the maximum
// ratios of IA32_PERF_STATUS and IA32_PLATFORM_ID, with dynamic acceleration disengaged for
// the reading. IA32_MISC_ENABLE is written only when that bit was clear, and put back after.
void ClockMeasurement::initRatios(RunContext& run) {
    ProcessorAccess& access = run.access;
    const int p = firstProcessor(access);
    if (clock_.platformInfoClass) {
        const MsrValue platformInfo = readOn(access, p, kPlatformInfo).value_or(MsrValue{});
        clock_.baseRatio = clock_.maxRatio = platformBaseRatio(platformInfo.low);
        return;
    }
    const auto processor = static_cast<std::uint32_t>(p);
    MsrValue before;
    const bool disengaged = access.updateMsr(processor, kMiscEnable, [&before](MsrValue misc) {
        before = misc;
        misc.high |= kAccelerationDisengaged;
        return misc;
    }) == MsrUpdate::Written;
    const int c = halfStepTenths(readOn(access, p, kPerfStatus).value_or(MsrValue{}).high);
    const int e = halfStepTenths(readOn(access, p, kPlatformId).value_or(MsrValue{}).low);
    const int r =
        c == e ? halfStepTenths(readOn(access, p, kPlatformInfo).value_or(MsrValue{}).high) : 0;
    applyRatios(clock_, ratiosFromPerfStatus(c, e, r));
    if (disengaged) {
        access.updateMsr(processor, kMiscEnable, [&before](MsrValue) { return before; });
    }
}

// One batch: each processor's two fixed counters and its time-stamp counter (register 0x10),
// read where they are, so the monitoring thread never moves; `also` rides along and is answered
// in place.
std::vector<CounterReading> ClockMeasurement::readCounters(RunContext& run, MsrRead* also) {
    std::vector<MsrRead> reads;
    reads.reserve(kCounterRegisters * kClockEntries + 1);
    for (int p = 0; p < entries(run); ++p) {
        if (present(run, p)) {
            const auto processor = static_cast<std::uint32_t>(p);
            for (const std::uint32_t index :
                 {kFixedCoreClocks, kFixedReferenceClocks, kTimeStampCounter}) {
                reads.push_back({.processor = processor, .index = index});
            }
        }
    }
    if (also != nullptr) {
        reads.push_back(*also);
    }
    run.access.readBatch(reads);
    if (also != nullptr) {
        *also = reads.back();
        reads.pop_back();
    }
    std::vector<CounterReading> readings;
    readings.reserve(reads.size() / kCounterRegisters);
    for (std::size_t i = 0; i + kCounterRegisters <= reads.size(); i += kCounterRegisters) {
        const MsrRead& core = reads[i];
        const MsrRead& reference = reads[i + 1];
        const MsrRead& tsc = reads[i + 2];
        readings.push_back({.processor = static_cast<int>(core.processor),
                            .read = core.ok && reference.ok && tsc.ok,
                            .coreClocks = wide({core.low, core.high}),
                            .refClocks = wide({reference.low, reference.high}),
                            .tsc = wide({tsc.low, tsc.high})});
    }
    return readings;
}

double ClockMeasurement::sampleCounters(RunContext& run) {
    MsrRead limits{.processor = static_cast<std::uint32_t>(firstProcessor(run.access)),
                   .index = kTurboRatioLimit};
    // The engine keeps the fixed counters enabled after every tick; doing it here as well
    // would read 0x38D on every processor twice a tick for nothing.
    const std::vector<CounterReading> readings =
        readCounters(run, clock_.platformInfoClass ? &limits : nullptr);
    if (limits.ok) {
        clock_.maxCoreRefRatio = turboBound(limits.low, clock_.baseRatio);
    }
    return foldCounterReadings(clock_, readings);
}

double ClockMeasurement::ratioFromMsrs(RunContext& run) {
    double sum = 0.0;
    int read = 0;
    for (int p = 0; p < entries(run); ++p) {
        if (!present(run, p)) {
            continue;
        }
        if (clock_.platformInfoClass) {
            if (const std::optional<MsrValue> perf = readOn(run.access, p, kPerfStatus)) {
                sum += platformRatio(perf->low);
                ++read;
            }
            continue;
        }
        if (const std::optional<MsrValue> powerOn = readOn(run.access, p, kPowerOnConfiguration)) {
            std::optional<std::uint32_t> perfLow;
            if (powerOnNeedsPerfStatus(powerOn->low)) {
                if (const std::optional<MsrValue> perf = readOn(run.access, p, kPerfStatus)) {
                    perfLow = perf->low;
                }
            }
            sum += powerOnRatio(powerOn->low, perfLow);
            ++read;
        }
    }
    return read > 0 ? sum / read : 3.0;
}

// Without the registers: the highest of the kernel's current clocks, with no ratio to split it
// into bus and multiplier, no VID, and the system's load.
void ClockMeasurement::kernelTick(RunContext& run) {
    double highest = 0.0;
    for (int p = 0; p < entries(run); ++p) {
        if (present(run, p)) {
            highest = std::max(highest,
                               run.platform.driver->kernelClockMHz(static_cast<std::uint32_t>(p)));
        }
    }
    ClockReadings& shown = run.state.clock;
    if (highest > 0.0) {
        shown.clockKnown = true;
        shown.coreMHz = highest;
        shown.busMHz = highest;
        shown.multiplier = 1.0;
    }
    shown.vidShown = false;
    shown.runTimeSeconds = runTime_.update(run.state.tickTime, run.state.statsStart);
    shown.load = load_.percent();
}

// updateClockDisplay: a changed flexible ratio reruns the ratio reading; the counters give the
// load and, unless they stopped, the multiplier of the busiest processor; the time-stamp rate
// makes it a clock once calibrated.
void ClockMeasurement::tick(RunContext& run) {
    if (run.platform.driver->readOnly()) {
        kernelTick(run);
        return;
    }
    ProcessorAccess& access = run.access;
    const int p = firstProcessor(access);
    if (!clock_.platformInfoClass) {
        if (const std::optional<MsrValue> flex = readOn(access, p, kFlexRatio)) {
            if (flex->low != lastFlexRatio_) {
                initRatios(run);
            }
            lastFlexRatio_ = flex->low;
        }
    }
    if (sampleCounters(run) < kStoppedCounters) {
        clock_.useFixedCounters = false;
    }
    double multiplier = 0.0;
    if (clock_.platformInfoClass || clock_.useFixedCounters) {
        const double h =
            clock_.coreRefRatio[static_cast<std::size_t>(busiestProcessor(clock_, entries(run)))];
        multiplier = multiplierFromCounters(clock_.baseRatio, h);
    } else {
        multiplier = multiplierFromRegisters(ratioFromMsrs(run));
    }

    ClockReadings& shown = run.state.clock;
    const double tscMHz = figures_.tscMHz.load();
    const bool calibrated = std::trunc(tscMHz) > 0;
    shown.vidShown = run.settings.vidInfo && !clock_.platformInfoClass;
    std::optional<std::uint64_t> perfStatus;
    if (!clock_.platformInfoClass && (calibrated || shown.vidShown)) {
        if (const std::optional<MsrValue> perf = readOn(access, p, kPerfStatus)) {
            perfStatus = wide(*perf);
        }
    }
    if (calibrated) {
        const ClockFigure figure = clockFigure(tscMHz, multiplier, clock_.maxRatio, perfStatus);
        shown.clockKnown = true;
        shown.coreMHz = figure.coreMHz;
        shown.busMHz = figure.busMHz;
        shown.multiplier = figure.multiplier;
    }
    shown.runTimeSeconds = runTime_.update(run.state.tickTime, run.state.statsStart);
    if (shown.vidShown) {
        shown.vid = vidVolts(static_cast<std::uint32_t>(perfStatus.value_or(0)),
                             processor_ != nullptr && processor_->mobileFlag);
    }
    shown.load = currentLoad(run.settings.tmLoad, load_.percent(), clock_);
}

}  // namespace calidus
