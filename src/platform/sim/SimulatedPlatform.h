#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace calidus {

struct SimulatedMachineLoad {
    Platform platform;  // empty members when the description was refused
    std::string error;  // names the key and the line of a bad value
};

// The names of the built-in models, in the order --list-models shows them, with a short line each.
struct BuiltInModel {
    std::string name;
    std::string summary;
};
std::vector<BuiltInModel> builtInModels();

// NAME of a built-in model, or the path of a description file.
SimulatedMachineLoad loadSimulatedMachine(const std::string& nameOrFile);

}  // namespace calidus
