#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/sim/MachineDescription.h"

namespace calidus {

struct SimulatedMachineLoad {
    Platform platform;  // empty members when the description was refused
    std::string error;  // names the key and the line of a bad value
};

// The names of the built-in models, in the order --list-models shows them, with a short line each.
struct BuiltInModel {
    std::string name;
    std::string summary;
    std::string description;  // the description text the model is read from
};
std::vector<BuiltInModel> builtInModels();

// NAME of a built-in model, or the path of a description file. The simulated machine runs on
// the real one: its clock, load, sleeping, priorities, the programs it starts and the pages it
// opens come from makeLinuxPlatform().
SimulatedMachineLoad loadSimulatedMachine(const std::string& nameOrFile);

// What the simulated machine borrows from the machine it runs on.
struct SimulationHost {
    std::unique_ptr<Scheduler> scheduler;        // real sleeping and priorities
    std::unique_ptr<Clock> clock;                // times the TSC, the fixed counters, the sensors
    std::unique_ptr<ProcessorTimeCounter> load;  // the real load that warms the sensors
    // Starts the programs; none: they are only remembered. Either way a kept program warms the
    // simulated processors it runs on.
    std::unique_ptr<ProcessLauncher> launcher = {};
};

// The driver, processor, scheduler and GPU libraries of the described machine, and a sound
// player and shell that only remember what they were asked; the clock and the processor-time
// counter of the returned platform are left to the caller.
Platform makeSimulatedPlatform(MachineDescription description, SimulationHost host);

}  // namespace calidus
