#include "record/PrometheusText.h"

#include <cmath>
#include <utility>

#include "common/Text.h"

namespace calidus {

namespace {

// Label values escape the backslash, the double quote and the line break.
std::string labelValue(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            escaped += '\\';
            escaped += c;
        } else if (c == '\n') {
            escaped += "\\n";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

class Exposition {
  public:
    explicit Exposition(std::string edition) : edition_(std::move(edition)) {}

    void family(const char* name, const char* type, const char* help) {
        name_ = name;
        text_ +=
            std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
    }
    void sample(const std::string& labels, long long value) {
        sample(labels, std::to_string(value));
    }
    void sample(const std::string& labels, const std::string& value) {
        text_ += name_ + "{" + labels + "edition=\"" + edition_ + "\"} " + value + "\n";
    }
    std::string take() { return std::move(text_); }

  private:
    std::string edition_;
    std::string name_;
    std::string text_;
};

}  // namespace

std::string prometheusFileName(const Edition& edition) {
    return edition.isXL() ? "calidusxl.prom" : "calidus.prom";
}

std::string prometheusText(const Edition& edition, const MonitorState& state,
                           const RunConfiguration& config, const DisplayTexts& texts,
                           const GpuSources& gpu) {
    Exposition out(edition.isXL() ? "xl" : "standard");
    const auto perCore = [&](const auto& value) {
        for (const int core : edition.monitoredCores) {
            const CoreSample& sample = state.cores[core];
            if (config.corePresent(core) && sample.sensorRead) {
                out.sample("core=\"" + std::to_string(core) + "\",", value(core, sample));
            }
        }
    };

    out.family("calidus_core_temperature_celsius", "gauge", "Core temperature.");
    perCore([](int, const CoreSample& s) { return s.celsius; });
    out.family("calidus_core_distance_to_tjmax_celsius", "gauge",
               "Distance of the core temperature below TjMax.");
    perCore([](int, const CoreSample& s) { return s.reading; });
    out.family("calidus_core_tjmax_celsius", "gauge", "TjMax the temperature is counted from.");
    perCore([&](int core, const CoreSample&) { return config.calibration.tjMax[core]; });
    out.family("calidus_core_temperature_min_celsius", "gauge",
               "Lowest core temperature since the last Reset.");
    perCore([](int, const CoreSample& s) { return s.minCelsius; });
    out.family("calidus_core_temperature_max_celsius", "gauge",
               "Highest core temperature since the last Reset.");
    perCore([](int, const CoreSample& s) { return s.maxCelsius; });
    out.family("calidus_core_thermal_status", "gauge", "1 while the core is at its thermal limit.");
    perCore([](int, const CoreSample& s) { return s.thermalStatus ? 1 : 0; });
    out.family("calidus_core_thermal_log", "gauge",
               "1 once the core has reached its thermal limit since the flag was cleared.");
    perCore([](int, const CoreSample& s) { return s.thermalLog ? 1 : 0; });

    out.family("calidus_core_clock_hertz", "gauge", "Core clock of the processor.");
    if (state.clock.clockKnown) {
        out.sample("", std::llround(state.clock.coreMHz * 1e6));
    }
    out.family("calidus_load_ratio", "gauge", "Processor load, 0 to 1.");
    out.sample("", fixedText(state.clock.load / 100.0, 3));
    // A source reads 0 before its first reading and after a Reset until the next one.
    out.family("calidus_gpu_temperature_celsius", "gauge", "Hottest temperature of a GPU source.");
    if (gpu.ati() != nullptr && gpu.ati()->hottest() > 0) {
        out.sample("source=\"ati\",", gpu.ati()->hottest());
    }
    if (gpu.nvidia() != nullptr && gpu.nvidia()->hottest() > 0) {
        out.sample("source=\"nvidia\",", gpu.nvidia()->hottest());
    }

    out.family("calidus_alarm_active", "gauge", "1 while a temperature is at or above its alarm.");
    out.sample("", state.alarmThisTick ? 1 : 0);
    out.family("calidus_last_tick_timestamp_seconds", "gauge", "Time of the last reading.");
    out.sample("", static_cast<long long>(state.tickTime));
    out.family("calidus_info", "gauge", "The processor the readings come from.");
    out.sample("model=\"" + labelValue(texts.model) + "\",signature=\"" +
                   labelValue(texts.signature) + "\",",
               1);
    return out.take();
}

}  // namespace calidus
