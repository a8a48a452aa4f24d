#pragma once

// A simulated machine whose clock and sleeps are the fake host's, so start-up waits for nothing.

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sim/DescriptionParser.h"
#include "platform/sim/SimulatedPlatform.h"
#include "support/FakePlatform.h"

namespace calidus::testing {

class SteadyLoad : public ProcessorTimeCounter {
  public:
    double busyPercent() override { return 12.5; }
};

inline std::string builtInDescription(const std::string& model) {
    const std::vector<BuiltInModel> models = builtInModels();
    const auto it = std::find_if(models.begin(), models.end(),
                                 [&](const BuiltInModel& m) { return m.name == model; });
    if (it == models.end()) {
        throw std::runtime_error("no built-in model " + model);
    }
    return it->description;
}

// A machine of a description's text.
inline Platform describedPlatform(FakeMachine& host, const std::string& description) {
    DescriptionParse parse = parseMachineDescription(description);
    if (!parse.description) {
        throw std::runtime_error(parse.error);
    }
    Platform platform =
        makeSimulatedPlatform(std::move(*parse.description),
                              {std::make_unique<FakeScheduler>(host),
                               std::make_unique<FakeClock>(host), std::make_unique<SteadyLoad>()});
    platform.clock = std::make_unique<FakeClock>(host);
    platform.processorTime = std::make_unique<SteadyLoad>();
    return platform;
}

inline Platform simulatedPlatform(FakeMachine& host, const std::string& model) {
    return describedPlatform(host, builtInDescription(model));
}

}  // namespace calidus::testing
