#include "measure/FixedCounters.h"

namespace calidus {

namespace {
constexpr std::uint32_t kFixedCounterControlMsr = 0x38D;
constexpr std::uint32_t kCounters1And2AllModes = 0x330;
}  // namespace

void enableFixedCounters(ProcessorAccess& access, int highestLogicalProcessor) {
    for (int p = 0; p <= highestLogicalProcessor; ++p) {
        const std::uint32_t bit = 1u << p;
        if ((access.systemMask() & bit) == 0) {
            continue;
        }
        access.pinToProcessor(bit);
        MsrValue control;
        // Writing back a register that could not be read would clear its other fields.
        if (access.readMsr(kFixedCounterControlMsr, control.low, control.high) &&
            (control.low & kCounters1And2AllModes) != kCounters1And2AllModes) {
            access.writeMsr(kFixedCounterControlMsr, control.low | kCounters1And2AllModes,
                            control.high);
        }
    }
    access.unpin();
}

}  // namespace calidus
