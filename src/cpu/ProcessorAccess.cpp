#include "cpu/ProcessorAccess.h"

#include <array>
#include <bit>
#include <string_view>

namespace calidus {

MsrUpdate ProcessorAccess::updateMsr(std::uint32_t processor, std::uint32_t index,
                                     const std::function<MsrValue(MsrValue)>& change) {
    MsrValue current;
    if (!readMsr(processor, index, current.low, current.high)) {
        return MsrUpdate::ReadFailed;
    }
    const MsrValue wanted = change(current);
    if (wanted == current) {
        return MsrUpdate::Unchanged;
    }
    return platform_.driver->writeMsr(processor, index, wanted.low, wanted.high)
               ? MsrUpdate::Written
               : MsrUpdate::WriteFailed;
}

bool ProcessorAccess::pinToProcessor(std::uint32_t mask) {
    const bool pinned = platform_.scheduler->setThreadAffinity(mask);
    platform_.scheduler->sleep(std::chrono::milliseconds(0));
    return pinned;
}

bool ProcessorAccess::pinProcessToProcessor(std::uint32_t mask) {
    const bool pinned = platform_.scheduler->setProcessAffinity(mask);
    platform_.scheduler->sleep(std::chrono::milliseconds(0));
    return pinned;
}

std::uint32_t processorOfMask(std::uint32_t mask) {
    return static_cast<std::uint32_t>(std::countr_zero(mask));
}

std::string driverStatusText(std::uint32_t status) {
    static constexpr std::array<std::string_view, 10> kTexts{
        "No Error",
        "Unsupported Platform",
        "Driver Not Loaded\nTry Run as Administrator.",
        "Driver Not Found",
        "Driver Unloaded",
        "Driver Not Found On Network",
        "",
        "",
        "",
        "Unknown Error",
    };
    return status < kTexts.size() ? std::string(kTexts[status]) : std::string();
}

std::string driverFailureHint(std::uint32_t status, std::string_view program) {
    const std::string asRoot = "run as root (sudo " + std::string(program) + ")";
    switch (status) {
        case 0:
            return "The msr devices opened, but a register could not be read: " + asRoot +
                   ", or load the msr module: sudo modprobe msr (a locked-down kernel refuses "
                   "register access)";
        case 2:
            return "The msr devices refused access to this user: " + asRoot;
        case 3:
            return "No msr device (/dev/cpu/0/msr): " + asRoot +
                   ", or load the msr module: sudo modprobe msr";
        default:
            return {};
    }
}

}  // namespace calidus
