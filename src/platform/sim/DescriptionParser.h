#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/sim/MachineDescription.h"

namespace calidus {

struct DescriptionParse {
    std::optional<MachineDescription> description;  // empty when the text was refused
    std::string error;                              // "line 7: Signature: not a number: 0x1G"
};

// Reads a machine description; one bad value refuses the whole text.
DescriptionParse parseMachineDescription(std::string_view text);

}  // namespace calidus
