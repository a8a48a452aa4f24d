#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/Edition.h"

namespace calidus {

// The 48 bytes of CPUID leaves 0x80000002..0x80000004, NUL padding included.
using BrandCharacters = std::array<char, 48>;

// The brand up to its first NUL; a byte above 0x7F stands for the sign-extended 16-bit character.
std::string brandText(const BrandCharacters& chars);

// The short model name the brand carries ("E8400", "Core i7-920"), empty when none is found.
std::string modelNumberFromBrand(const BrandCharacters& chars, std::uint32_t cpuSignature,
                                 const Edition& edition);

}  // namespace calidus
