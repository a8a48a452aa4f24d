#include "measure/FeatureSwitches.h"

#include "common/Registers.h"
#include "measure/ClockFigure.h"
#include "measure/ClockModulation.h"

namespace calidus {

namespace {

constexpr std::uint32_t kEistEnable = 1u << 16;
constexpr std::uint32_t kEistLock = 1u << 20;
constexpr std::uint32_t kOldC1eEnable = 1u << 25;
constexpr std::uint32_t kC1eEnable = 1u << 1;
constexpr std::uint32_t kTurboDisengage = 1u << 6;  // of the high half: bit 38
constexpr int kHighestC1eProcessor = 15;
constexpr int kHighestEistProcessor = 7;
using msr::kDutyField;
using msr::kModulationOn;

std::uint32_t withBit(std::uint32_t word, std::uint32_t bit, bool on) {
    return on ? word | bit : word & ~bit;
}

}  // namespace

FeatureSwitches::FeatureSwitches(ProcessorAccess& access, const Edition& edition,
                                 const ProcessorInfo& processor, const RunConfiguration& config)
    : access_(access), edition_(edition), processor_(processor), config_(config) {}

std::uint32_t FeatureSwitches::current() const {
    return processorOfMask(access_.systemMask());
}

MsrValue FeatureSwitches::readCurrent(std::uint32_t index) {
    return access_.readMsr(current(), index);
}

void FeatureSwitches::note(MsrUpdate update) {
    if (update == MsrUpdate::WriteFailed) {
        refused_ = true;
    }
}

bool FeatureSwitches::takeRefusalNotice() {
    if (!refused_ || noticeGiven_) {
        return false;
    }
    noticeGiven_ = true;
    return true;
}

void FeatureSwitches::readEist(FeatureState& state) {
    const MsrValue misc = readCurrent(msr::kMiscEnable);
    state.eist = (misc.low & kEistEnable) != 0;
    state.eistLocked = edition_.isXL() || (misc.low & kEistLock) != 0;
}

bool FeatureSwitches::readC1E() {
    return processor_.platformInfoClass ? (readCurrent(msr::kPowerControl).low & kC1eEnable) != 0
                                        : (readCurrent(msr::kMiscEnable).low & kOldC1eEnable) != 0;
}

FeatureState FeatureSwitches::open(std::uint32_t keptClockModulation) {
    if (!available()) {
        return {.eistLocked = true, .clockModulation = keptClockModulation};
    }
    FeatureState state;
    readEist(state);
    const MsrValue misc = readCurrent(msr::kMiscEnable);
    if (processor_.platformInfoClass) {
        state.turboDisabled = (misc.high & kTurboDisengage) != 0;
    } else {
        const MsrValue vidSource =
            readCurrent(edition_.isXL() ? msr::kPerfStatus : msr::kPlatformInfo);
        state.vid = vidVolts(vidSource.high, processor_.mobileFlag);
    }
    state.c1e = setC1E(readC1E());
    // A duty chosen while modulation stays off was never written: the register does not hold it.
    const std::uint32_t low =
        edition_.isXL() ? keptClockModulation : readCurrent(msr::kClockModulation).low;
    state.clockModulation =
        !modulates(low) && !modulates(keptClockModulation) ? keptClockModulation : low;
    return state;
}

bool FeatureSwitches::setC1E(bool on) {
    if (!available()) {
        return false;
    }
    const std::uint32_t index =
        processor_.platformInfoClass ? msr::kPowerControl : msr::kMiscEnable;
    const std::uint32_t bit = processor_.platformInfoClass ? kC1eEnable : kOldC1eEnable;
    for (int p = 0; p <= kHighestC1eProcessor; ++p) {
        if (config_.processMask & (1u << p)) {
            note(access_.updateMsr(static_cast<std::uint32_t>(p), index, [&](MsrValue v) {
                return MsrValue{withBit(v.low, bit, on), v.high};
            }));
        }
    }
    return readC1E();
}

FeatureState FeatureSwitches::setEist(bool on, FeatureState shown) {
    if (!available()) {
        return shown;
    }
    if (!edition_.isXL()) {
        for (int p = 0; p <= kHighestEistProcessor; ++p) {
            if (config_.processMask & (1u << p)) {
                note(access_.updateMsr(static_cast<std::uint32_t>(p), msr::kMiscEnable,
                                       [on](MsrValue v) {
                                           if (v.low & kEistLock) {
                                               return v;
                                           }
                                           return MsrValue{withBit(v.low, kEistEnable, on), v.high};
                                       }));
            }
        }
    }
    readEist(shown);
    return shown;
}

bool FeatureSwitches::setTurboDisabled(bool on) {
    if (!processor_.platformInfoClass) {
        return on;
    }
    if (!available()) {
        return false;
    }
    note(access_.updateMsr(current(), msr::kMiscEnable, [on](MsrValue v) {
        return MsrValue{v.low, withBit(v.high, kTurboDisengage, on)};
    }));
    return (readCurrent(msr::kMiscEnable).high & kTurboDisengage) != 0;
}

std::uint32_t FeatureSwitches::applyClockModulation(std::uint32_t value) {
    if (!available()) {
        return value;  // kept for a run with registers
    }
    calidus::applyClockModulation(access_, edition_, value);
    std::uint32_t low = value;
    std::uint32_t high = 0;
    if (!access_.readMsr(current(), msr::kClockModulation, low, high)) {
        return value;
    }
    const bool on = (value & kModulationOn) != 0;
    const bool switched = ((low & kModulationOn) != 0) == on;
    const bool duty =
        !on || (value & kDutyField) == 0 || (low & kDutyField) == (value & kDutyField);
    if (!switched || !duty) {
        refused_ = true;
    }
    return !on && !modulates(low) ? value : low;
}

}  // namespace calidus
