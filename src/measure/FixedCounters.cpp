#include "measure/FixedCounters.h"

#include <array>
#include <span>

#include "common/Registers.h"

namespace calidus {

namespace {
constexpr std::uint32_t kCounters1And2AllModes = 0x330;
}  // namespace

// One batch looks at every processor's control, so that a helper answers it in one round trip;
// only a processor whose enables are not all set is updated, and updated as usual.
void enableFixedCounters(ProcessorAccess& access, int highestLogicalProcessor) {
    std::array<MsrRead, 32> reads{};  // affinity masks are 32 bits
    std::size_t count = 0;
    for (int p = 0; p <= highestLogicalProcessor && p < 32; ++p) {
        if (access.systemMask() & (1u << p)) {
            reads[count++] = {.processor = static_cast<std::uint32_t>(p),
                              .index = msr::kFixedCounterControl};
        }
    }
    const std::span controls(reads.data(), count);
    access.readBatch(controls);
    for (const MsrRead& control : controls) {
        // A control that cannot be read would fail the update's own read as well.
        if (!control.ok || (control.low & kCounters1And2AllModes) == kCounters1And2AllModes) {
            continue;
        }
        access.updateMsr(control.processor, msr::kFixedCounterControl, [](MsrValue value) {
            value.low |= kCounters1And2AllModes;
            return value;
        });
    }
}

}  // namespace calidus
