#include "platform/sim/SimulatedPlatform.h"

namespace calidus {

std::vector<BuiltInModel> builtInModels() { return {}; }

SimulatedMachineLoad loadSimulatedMachine(const std::string&) { return {{}, "not built yet"}; }

}  // namespace calidus
