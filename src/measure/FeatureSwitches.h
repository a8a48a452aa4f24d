#pragma once

#include <cstdint>

#include "common/Edition.h"
#include "cpu/ProcessorAccess.h"
#include "cpu/ProcessorInfo.h"
#include "cpu/RunConfiguration.h"

namespace calidus {

// The Settings window's processor boxes as the processor has them, read back after each change.
struct FeatureState {
    bool eist = false;
    bool eistLocked = false;  // bit 20 of IA32_MISC_ENABLE, or an XL edition: the box is disabled
    bool c1e = false;
    bool turboDisabled = false;  // with platformInfoClass
    // Without platformInfoClass the turbo box is relabelled with the VID in volts.
    double vid = 0.0;
    // The low half of IA32_CLOCK_MODULATION, which Cancel restores; the XL edition keeps the
    // value it applied instead of reading it.
    std::uint32_t clockModulation = 0;
};

// C1E, EIST, turbo and clock modulation on a named processor each, without moving the thread.
// The driver may refuse a write (kernel lockdown, the helper's allow-list); the boxes then show
// the state read back, and the refusal is reported once.
class FeatureSwitches {
  public:
    FeatureSwitches(ProcessorAccess& access, const Edition& edition, const ProcessorInfo& processor,
                    const RunConfiguration& config);

    // Opening the window: every box from the registers, C1E written to every processor as the
    // current one has it. keptClockModulation is what the XL edition shows.
    FeatureState open(std::uint32_t keptClockModulation);

    // Each answers the state read back from the current processor.
    bool setC1E(bool on);
    FeatureState setEist(bool on, FeatureState shown);
    bool setTurboDisabled(bool on);
    // Answers the register's low half read back, or the value when it cannot be read or when
    // modulation stays off (such a value is not written). A register that does not switch
    // modulation as asked, or keeps another duty, refused the write.
    std::uint32_t applyClockModulation(std::uint32_t value);

    // False in read-only mode: there is no register to show or switch.
    bool available() const { return !access_.readOnly(); }
    bool writeRefused() const { return refused_; }
    // True once per run, after the first refused write.
    bool takeRefusalNotice();

  private:
    MsrValue readCurrent(std::uint32_t index);
    void note(MsrUpdate update);
    void readEist(FeatureState& state);
    bool readC1E();
    std::uint32_t current() const;

    ProcessorAccess& access_;
    const Edition& edition_;
    const ProcessorInfo& processor_;
    const RunConfiguration& config_;
    bool refused_ = false;
    bool noticeGiven_ = false;
};

}  // namespace calidus
