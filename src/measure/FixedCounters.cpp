#include "measure/FixedCounters.h"

#include "common/Registers.h"

namespace calidus {

namespace {
constexpr std::uint32_t kCounters1And2AllModes = 0x330;
}  // namespace

void enableFixedCounters(ProcessorAccess& access, int highestLogicalProcessor) {
    for (int p = 0; p <= highestLogicalProcessor; ++p) {
        if (access.systemMask() & (1u << p)) {
            access.updateMsr(static_cast<std::uint32_t>(p), msr::kFixedCounterControl,
                             [](MsrValue control) {
                                 control.low |= kCounters1And2AllModes;
                                 return control;
                             });
        }
    }
}

}  // namespace calidus
