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

std::string vendorOf(const CpuidResult& leaf0) {
    std::string vendor;
    for (const std::uint32_t word : {leaf0.ebx, leaf0.edx, leaf0.ecx}) {
        for (int byte = 0; byte < 4; ++byte) {
            const char c = static_cast<char>((word >> (8 * byte)) & 0xFF);
            vendor += c >= 0x20 && c < 0x7F ? c : '?';
        }
    }
    return vendor;
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
    const CpuidResult leaf0 = access.cpuid(0);
    const bool intel = isGenuineIntel(leaf0);
    info.vendorText = intel ? "GenuineIntel" : "";
    info.cpuidVendor = vendorOf(leaf0);
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

std::string unsupportedVendorLine(const ProcessorInfo& info, std::string_view program) {
    if (!info.vendorText.empty()) {
        return {};
    }
    return std::string(program) + ": the processor's CPUID vendor is \"" + info.cpuidVendor +
           "\"; only Intel processors (GenuineIntel) can be monitored";
}

}  // namespace calidus
