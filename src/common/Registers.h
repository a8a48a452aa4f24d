#pragma once

#include <cstdint>

// Every model-specific register the program reads or writes. The simulated machine models the
// same registers, so this sits below every layer.
namespace calidus::msr {

inline constexpr std::uint32_t kTimeStampCounter = 0x10;       // IA32_TSC
inline constexpr std::uint32_t kPlatformId = 0x17;             // IA32_PLATFORM_ID
inline constexpr std::uint32_t kPowerOnConfiguration = 0x2A;   // EBL_CR_POWERON
inline constexpr std::uint32_t kPlatformInfo = 0xCE;           // PLATFORM_INFO
inline constexpr std::uint32_t kFlexRatio = 0x194;             // FLEX_RATIO
inline constexpr std::uint32_t kPerfStatus = 0x198;            // IA32_PERF_STATUS
inline constexpr std::uint32_t kClockModulation = 0x19A;       // IA32_CLOCK_MODULATION
inline constexpr std::uint32_t kThermStatus = 0x19C;           // IA32_THERM_STATUS
inline constexpr std::uint32_t kMiscEnable = 0x1A0;            // IA32_MISC_ENABLE
inline constexpr std::uint32_t kTemperatureTarget = 0x1A2;     // TEMPERATURE_TARGET
inline constexpr std::uint32_t kTurboRatioLimit = 0x1AD;       // TURBO_RATIO_LIMIT
inline constexpr std::uint32_t kPowerControl = 0x1FC;          // POWER_CTL
inline constexpr std::uint32_t kFixedCoreClocks = 0x30A;       // IA32_FIXED_CTR1
inline constexpr std::uint32_t kFixedReferenceClocks = 0x30B;  // IA32_FIXED_CTR2
inline constexpr std::uint32_t kFixedCounterControl = 0x38D;   // IA32_FIXED_CTR_CTRL

// IA32_CLOCK_MODULATION's low half: bit 4 switches on-demand modulation on, bits 3..1 hold the
// duty code in steps of 12.5 %.
inline constexpr std::uint32_t kModulationOn = 0x10;
inline constexpr std::uint32_t kDutyField = 0xE;

}  // namespace calidus::msr
