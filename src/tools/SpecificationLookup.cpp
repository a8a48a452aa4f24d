#include "tools/SpecificationLookup.h"

#include <cstdio>

namespace calidus {

std::string specFinderCaption(std::string_view modelNumber, std::uint32_t cpuSignature) {
    char signature[32];
    std::snprintf(signature, sizeof signature, "\nCPUID String: %0Xh", cpuSignature);
    return "Intel " + std::string(modelNumber) + " Spec Finder" + signature;
}

std::string specificationSearchAddress(std::string_view modelNumber) {
    std::string model(modelNumber);
    constexpr std::string_view kCore = "Core ";
    for (std::size_t at = model.find(kCore); at != std::string::npos; at = model.find(kCore, at)) {
        model.erase(at, kCore.size());
    }
    return std::string(kSpecificationSearch) + model;
}

}  // namespace calidus
