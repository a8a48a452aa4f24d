#pragma once

// A simulated machine whose clock and sleeps are the fake host's, so start-up waits for nothing.

#include <algorithm>
#include <atomic>
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

// The host's load as the test sets it, standing in for the program's own threads.
class HostLoad : public ProcessorTimeCounter {
  public:
    explicit HostLoad(std::atomic<double>& percent) : percent_(percent) {}
    double busyPercent() override { return percent_; }

  private:
    std::atomic<double>& percent_;
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

// A machine of a description's text; its sensors warm with `load`.
inline Platform describedPlatform(FakeMachine& host, const std::string& description,
                                  std::unique_ptr<ProcessorTimeCounter> load = nullptr) {
    DescriptionParse parse = parseMachineDescription(description);
    if (!parse.description) {
        throw std::runtime_error(parse.error);
    }
    Platform platform = makeSimulatedPlatform(
        std::move(*parse.description),
        {std::make_unique<FakeScheduler>(host), std::make_unique<FakeClock>(host),
         load ? std::move(load) : std::make_unique<SteadyLoad>()});
    platform.clock = std::make_unique<FakeClock>(host);
    platform.processorTime = std::make_unique<SteadyLoad>();
    return platform;
}

// `machineKeys` are added to the model's [Machine] section.
inline Platform simulatedPlatform(FakeMachine& host, const std::string& model,
                                  const std::string& machineKeys = {}) {
    std::string description = builtInDescription(model);
    description.insert(description.find('\n', description.find("[Machine]")) + 1, machineKeys);
    return describedPlatform(host, description);
}

}  // namespace calidus::testing
