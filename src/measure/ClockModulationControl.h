#pragma once

#include <cstdint>
#include <optional>

#include "measure/RunPart.h"

namespace calidus {

// The clock-modulation switch over a run: start-up applies "ClockMod" to every processor;
// shutdown reads processor 0's value for the settings file, then switches modulation off.
class ClockModulationControl : public RunPart {
  public:
    void startUp(RunContext& run) override;
    void shutDown(RunContext& run) override;

    // Before the exit save: the low half of processor 0's register, saved as "ClockMod", or
    // the value last applied when both keep modulation off (it was not written); nothing when
    // the register cannot be read, so the stored value stays.
    std::optional<std::uint32_t> readAtExit(RunContext& run);

    // The value last applied to every processor, after the edition's duty rule.
    std::uint32_t applied() const { return applied_; }
    // The Settings window applied one.
    void noteApplied(std::uint32_t value) { applied_ = value; }

  private:
    std::uint32_t applied_ = 2;
};

}  // namespace calidus
