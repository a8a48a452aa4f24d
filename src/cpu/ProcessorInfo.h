#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/Edition.h"
#include "cpu/ProcessorAccess.h"

namespace calidus {

// What start-up learns about the processor.
struct ProcessorInfo {
    std::uint32_t cpuSignature = 0;  // CPUID leaf 1 EAX without processor type and extended family
    bool platformInfoClass = false;  // TjMax from MSR 0x1A2, C1E in 0x1FC, ratios from 0xCE
    std::string vendorText;
    std::string cpuidVendor;  // the twelve characters of CPUID leaf 0, whatever the maker
    std::string brandString;
    std::string modelNumber;  // "-----" when the brand names no model
    std::string modelText;    // modelNumber with its display prefixes
    bool mobileFlag = false;

    std::string longSignatureText() const;   // "%05X", the GPU button's first caption
    std::string shortSignatureText() const;  // "%04X", the CPUID field
};

bool hasPlatformInfo(std::uint32_t cpuSignature);

// Lets CPUID report every standard leaf: clears bit 22 of IA32_MISC_ENABLE on processor 0.
void clearCpuidLimit(ProcessorAccess& access);

// Identifies the processor (vendor, signature, brand and model number, the texts the refusal
// needs too) and answers whether its cores can be monitored.
bool checkSupport(ProcessorAccess& access, const Edition& edition, ProcessorInfo& info);

// True when the settings were saved on another processor, so their per-core values do not apply.
bool processorChanged(std::string_view storedSpec, std::uint32_t storedCpuid,
                      std::string_view brandString, std::uint32_t cpuSignature);

// The brand string as "Spec" stores it: up to its first NUL, without surrounding blanks, which the
// settings reader would trim anyway.
std::string_view storedBrand(std::string_view brandString);

std::string unsupportedProcessorMessage(const ProcessorInfo& info);

// The line that names the maker the refusal's box leaves blank; empty for an Intel processor.
std::string unsupportedVendorLine(const ProcessorInfo& info, std::string_view program);

}  // namespace calidus
