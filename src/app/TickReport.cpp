#include "app/TickReport.h"

#include <nlohmann/json.hpp>

namespace calidus {

std::string tickJson(const Engine& engine) {
    const DisplayTexts& texts = engine.texts();
    const RunConfiguration& config = engine.configuration();
    nlohmann::ordered_json cores = nlohmann::ordered_json::array();
    for (const int core : engine.edition().monitoredCores) {
        if (!config.corePresent(core)) {
            continue;
        }
        const CoreTexts& shown = texts.cores[core];
        cores.push_back({
            {"core", core},
            {"temperature", shown.temperature},
            {"distance", shown.distance},
            {"min", shown.minimum},
            {"minTime", shown.minimumTime},
            {"max", shown.maximum},
            {"maxTime", shown.maximumTime},
            {"status", shown.status},
            {"tjMax", config.calibration.tjMax[static_cast<std::size_t>(core)]},
        });
    }
    const nlohmann::ordered_json tick{
        {"tick", engine.state().tickCount},
        {"time", texts.tickTime},
        {"model", texts.model},
        {"cpuid", texts.shortSignature},
        {"unit", texts.unit},
        {"heading", texts.heading},
        {"statusCaption", texts.statusCaption},
        {"title", texts.title},
        {"tooltip", texts.tooltip},
        {"alarm", engine.state().alarmThisTick},
        {"cores", cores},
    };
    return tick.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string tickLines(const Engine& engine) {
    const DisplayTexts& texts = engine.texts();
    const RunConfiguration& config = engine.configuration();
    const std::string& unit = texts.unit;
    std::string lines = "Tick " + std::to_string(engine.state().tickCount) + " at " +
                        texts.tickTime + "  " + texts.model + "  " + texts.heading + "  " +
                        texts.statusCaption + "\n";
    for (const int core : engine.edition().monitoredCores) {
        if (!config.corePresent(core)) {
            continue;
        }
        const CoreTexts& c = texts.cores[core];
        lines += "  Core " + std::to_string(core) + ":  " + c.temperature + unit + "  TjMax " +
                 std::to_string(config.calibration.tjMax[static_cast<std::size_t>(core)]) +
                 "  distance " + c.distance + "  min " + c.minimum + " at " + c.minimumTime +
                 "  max " + c.maximum + " at " + c.maximumTime + "  " + c.status + "\n";
    }
    return lines;
}

}  // namespace calidus
