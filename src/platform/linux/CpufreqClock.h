#pragma once

#include <cstdint>
#include <filesystem>

namespace calidus {

// The kernel's current clock of a logical processor in MHz, from cpufreq's
// <sysRoot>/devices/system/cpu/cpuN/cpufreq/scaling_cur_freq (kHz), which every user may read;
// 0 when the processor has none (no cpufreq driver, a virtual machine).
double cpufreqClockMHz(const std::filesystem::path& sysRoot, std::uint32_t processor);

}  // namespace calidus
