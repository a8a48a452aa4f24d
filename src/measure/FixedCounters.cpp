#include "measure/FixedCounters.h"

#include <vector>

#include "common/Registers.h"

namespace calidus {

namespace {
constexpr std::uint32_t kCounters1And2AllModes = 0x330;
}  // namespace

// One batch looks at every processor's control, so that a helper answers it in one round trip;
// only a processor whose enables are not all set is updated, and updated as usual.
void enableFixedCounters(ProcessorAccess& access, int highestLogicalProcessor) {
    std::vector<MsrRead> controls;
    for (int p = 0; p <= highestLogicalProcessor; ++p) {
        if (access.systemMask() & (1u << p)) {
            controls.push_back(
                {.processor = static_cast<std::uint32_t>(p), .index = msr::kFixedCounterControl});
        }
    }
    access.readBatch(controls);
    for (const MsrRead& control : controls) {
        if (control.ok && (control.low & kCounters1And2AllModes) == kCounters1And2AllModes) {
            continue;
        }
        access.updateMsr(control.processor, msr::kFixedCounterControl, [](MsrValue value) {
            value.low |= kCounters1And2AllModes;
            return value;
        });
    }
}

}  // namespace calidus
