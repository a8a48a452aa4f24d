#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace calidus {

// The processor maker's specification search; the model text is appended as it is.
inline constexpr std::string_view kSpecificationSearch = "https://ark.intel.com/Search.aspx?q=";

// "Intel <model> Spec Finder" over "CPUID String: <signature>h".
std::string specFinderCaption(std::string_view modelNumber, std::uint32_t cpuSignature);

// The search address for a model text, with every "Core " taken out.
std::string specificationSearchAddress(std::string_view modelNumber);

}  // namespace calidus
