#include "cpu/ProcessorInfo.h"

#include <cstdio>
#include <utility>

#include "common/Registers.h"
#include "cpu/BrandReading.h"

namespace calidus {

namespace {

constexpr std::uint32_t kLimitCpuidMaximum = 1u << 22;
constexpr std::uint32_t kProcessorZero = 0;

std::string hexText(const char* format, std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(value));
    return text;
}

bool isGenuineIntel(const CpuidResult& leaf0) {
    return leaf0.ebx == 0x756E6547 && leaf0.edx == 0x49656E69 && leaf0.ecx == 0x6C65746E;
}

}  // namespace

std::string ProcessorInfo::longSignatureText() const {
    return hexText("%05X", cpuSignature);
}

std::string ProcessorInfo::shortSignatureText() const {
    return hexText("%04X", cpuSignature);
}

bool hasPlatformInfo(std::uint32_t cpuSignature) {
    return (cpuSignature >= 0x106A0 && cpuSignature <= 0x106AF) || cpuSignature >= 0x106E0;
}

void clearCpuidLimit(ProcessorAccess& access) {
    access.updateMsr(kProcessorZero, msr::kMiscEnable, [](MsrValue value) {
        value.low &= ~kLimitCpuidMaximum;
        return value;
    });
}

bool checkSupport(ProcessorAccess& access, const Edition& edition, ProcessorInfo& info) {
    const bool intel = isGenuineIntel(access.cpuid(0));
    info.vendorText = intel ? "GenuineIntel" : "";
    bool supported = intel;

    const CpuidResult leaf1 = access.cpuid(1);
    info.cpuSignature = leaf1.eax & 0xF0FFF;
    info.platformInfoClass = hasPlatformInfo(info.cpuSignature);
    const bool netBurst = info.cpuSignature >= 0xF00 && info.cpuSignature <= 0xF70;
    const bool msrInstructions = (leaf1.edx & (1u << 5)) != 0;
    const bool sse3 = (leaf1.ecx & 1u) != 0;
    if (netBurst || !msrInstructions || !sse3) {
        supported = false;
    }

    // A digital thermal sensor is all the monitor needs, whatever the checks above found.
    if (access.cpuid(0).eax >= 6 && (access.cpuid(6).eax & 1u) != 0) {
        supported = true;
    }

    BrandReading brand = readBrand(access, edition);
    info.brandString = std::move(brand.brandString);
    info.modelNumber = std::move(brand.modelNumber);
    return supported;
}

std::string_view storedBrand(std::string_view brandString) {
    brandString = brandString.substr(0, brandString.find('\0'));
    while (!brandString.empty() && brandString.front() == ' ') {
        brandString.remove_prefix(1);
    }
    while (!brandString.empty() && brandString.back() == ' ') {
        brandString.remove_suffix(1);
    }
    return brandString;
}

bool processorChanged(std::string_view storedSpec, std::uint32_t storedCpuid,
                      std::string_view brandString, std::uint32_t cpuSignature) {
    return storedSpec != storedBrand(brandString) || storedCpuid != cpuSignature;
}

std::string unsupportedProcessorMessage(const ProcessorInfo& info) {
    return "The processor detected is not supported.\n\n" + info.vendorText + "\n" +
           info.brandString + "\n\n";
}

}  // namespace calidus
