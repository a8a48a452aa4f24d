#include "app/TickReport.h"

#include <nlohmann/json.hpp>

namespace calidus {

std::string tickJson(const Engine& engine) {
    const MonitorState& state = engine.state();
    const HeaderTexts& texts = engine.texts();
    nlohmann::ordered_json cores = nlohmann::ordered_json::array();
    for (const int core : engine.edition().monitoredCores) {
        if (!state.corePresent(core)) {
            continue;
        }
        const CoreSample& sample = state.cores[core];
        cores.push_back({
            {"core", core},
            {"temperature", sample.temperatureText},
            {"distance", sample.readingText},
            {"min", sample.minText},
            {"minTime", sample.minTimeText},
            {"max", sample.maxText},
            {"maxTime", sample.maxTimeText},
            {"status", sample.statusText},
            {"tjMax", state.calibration.tjMax[static_cast<std::size_t>(core)]},
        });
    }
    const nlohmann::ordered_json tick{
        {"tick", state.tickCount},
        {"time", engine.lastTickTimeText()},
        {"model", texts.model},
        {"cpuid", texts.shortSignature},
        {"unit", state.degreeString},
        {"heading", texts.heading},
        {"statusCaption", state.thermalStatusCaption},
        {"title", state.titleText},
        {"tooltip", state.tooltipText},
        {"cores", cores},
    };
    return tick.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string tickLines(const Engine& engine) {
    const MonitorState& state = engine.state();
    const HeaderTexts& texts = engine.texts();
    const std::string& unit = state.degreeString;
    std::string lines = "Tick " + std::to_string(state.tickCount) + " at " +
                        engine.lastTickTimeText() + "  " + texts.model + "  " + texts.heading +
                        "  " + state.thermalStatusCaption + "\n";
    for (const int core : engine.edition().monitoredCores) {
        if (!state.corePresent(core)) {
            continue;
        }
        const CoreSample& sample = state.cores[core];
        lines += "  Core " + std::to_string(core) + ":  " + sample.temperatureText + unit +
                 "  TjMax " +
                 std::to_string(state.calibration.tjMax[static_cast<std::size_t>(core)]) +
                 "  distance " + sample.readingText + "  min " + sample.minText + " at " +
                 sample.minTimeText + "  max " + sample.maxText + " at " + sample.maxTimeText +
                 "  " + sample.statusText + "\n";
    }
    return lines;
}

}  // namespace calidus
