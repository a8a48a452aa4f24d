#include "app/TickReport.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string_view>

namespace calidus {

namespace {

// Strict: no overlong forms, no surrogates, nothing above U+10FFFF.
bool validUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned low = 0x80;
        unsigned high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        }
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// Escapes as the JSON library's compact dump does, without building its object.
void appendString(std::string& line, std::string_view text) {
    if (!validUtf8(text)) {
        // Whatever the library would replace, it replaces.
        line += nlohmann::json(std::string(text))
                    .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        return;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    line += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                line += "\\\"";
                break;
            case '\\':
                line += "\\\\";
                break;
            case '\b':
                line += "\\b";
                break;
            case '\f':
                line += "\\f";
                break;
            case '\n':
                line += "\\n";
                break;
            case '\r':
                line += "\\r";
                break;
            case '\t':
                line += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    line += "\\u00";
                    line += kHex[(c >> 4) & 0xF];
                    line += kHex[c & 0xF];
                } else {
                    line += c;
                }
        }
    }
    line += '"';
}

template <typename Integer>
void appendNumber(std::string& line, Integer value) {
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    line.append(digits, end);
}

// As the library writes a double: the shortest form that reads back, with a decimal point.
void appendDecimal(std::string& line, double value) {
    char digits[32];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    const std::string_view written(digits, static_cast<std::size_t>(end - digits));
    line += written;
    if (written.find_first_of(".e") == std::string_view::npos) {
        line += ".0";
    }
}

// As many decimals as the window's text shows.
double rounded(double value, double scale) {
    return std::round(value * scale) / scale;
}

void appendKey(std::string& line, std::string_view key) {
    line += '"';
    line += key;
    line += "\":";
}

void appendField(std::string& line, std::string_view key, std::string_view text) {
    appendKey(line, key);
    appendString(line, text);
    line += ',';
}

void appendAdapter(std::string& line, bool first, long long index, std::string_view name) {
    line += first ? "{\"adapter\":" : ",{\"adapter\":";
    appendNumber(line, index);
    line += ",\"name\":";
    appendString(line, name);
    line += '}';
}

void appendSource(std::string& line, std::string_view source, int hottest) {
    line += "{\"source\":\"";
    line += source;
    line += "\",\"hottest\":";
    appendNumber(line, hottest);
    line += ",\"adapters\":[";
}

// The combined temperature, and per running source its hottest value and the adapters it reads.
void appendGpu(std::string& line, const Engine& engine) {
    appendField(line, "gpu", engine.texts().gpuTemperature);
    appendField(line, "gpuButton", engine.texts().gpuButton);
    line += "\"gpuSources\":[";
    const GpuSources& gpu = engine.gpuSources();
    if (const NvidiaSensor* nvidia = gpu.nvidia()) {
        appendSource(line, "nvidia", nvidia->hottest());
        for (std::uint32_t index = 0; index < nvidia->gpuCount(); ++index) {
            appendAdapter(line, index == 0, index, nvidia->name(index));
        }
        line += "]}";
    }
    if (const AtiSensor* ati = gpu.ati()) {
        if (gpu.nvidia() != nullptr) {
            line += ',';
        }
        appendSource(line, "ati", ati->hottest());
        bool first = true;
        for (int index = 0; index < ati->adapterCount(); ++index) {
            if (ati->selected(index)) {
                appendAdapter(line, first, index, ati->adapterName(index));
                first = false;
            }
        }
        line += "]}";
    }
    line += ']';
}

std::string gpuLine(const Engine& engine) {
    const GpuSources& gpu = engine.gpuSources();
    std::string line = "  GPU:  " + engine.texts().gpuTemperature + engine.texts().unit;
    if (const NvidiaSensor* nvidia = gpu.nvidia()) {
        line += "  nvidia " + std::to_string(nvidia->hottest());
        for (std::uint32_t index = 0; index < nvidia->gpuCount(); ++index) {
            line += "  [" + std::to_string(index) + "] " + nvidia->name(index);
        }
    }
    if (const AtiSensor* ati = gpu.ati()) {
        line += "  ati " + std::to_string(ati->hottest());
        for (int index = 0; index < ati->adapterCount(); ++index) {
            if (ati->selected(index)) {
                line += "  [" + std::to_string(index) + "] " + ati->adapterName(index);
            }
        }
    }
    return line + "\n";
}

}  // namespace

void writeTickJson(const Engine& engine, std::string& line) {
    const DisplayTexts& texts = engine.texts();
    const RunConfiguration& config = engine.configuration();
    line.clear();
    line += "{\"tick\":";
    appendNumber(line, engine.state().tickCount);
    line += ',';
    appendField(line, "time", texts.tickTime);
    appendField(line, "model", texts.model);
    appendField(line, "cpuid", texts.shortSignature);
    appendField(line, "source", engine.readOnly() ? "coretemp" : "registers");
    appendField(line, "unit", texts.unit);
    appendField(line, "heading", texts.heading);
    appendField(line, "statusCaption", texts.statusCaption);
    appendField(line, "title", texts.title);
    appendField(line, "tooltip", texts.tooltip);
    appendKey(line, "alarm");
    line += engine.state().alarmThisTick ? "true" : "false";
    const ClockReadings& clock = engine.state().clock;
    line += ",\"mhz\":";
    if (clock.clockKnown) {
        appendDecimal(line, rounded(clock.coreMHz, 100));
    } else {
        line += "null";
    }
    line += ',';
    appendField(line, "clockText", texts.clock);
    appendField(line, "busText", texts.busClock);
    appendField(line, clock.vidShown ? "vidText" : "runTime", texts.vidOrRunTime);
    appendKey(line, "load");
    appendDecimal(line, rounded(clock.load, 10));
    line += ',';
    appendField(line, "loadText", texts.load);
    line += "\"cores\":[";
    bool first = true;
    for (const int core : engine.edition().monitoredCores) {
        if (!config.corePresent(core)) {
            continue;
        }
        if (!first) {
            line += ',';
        }
        first = false;
        const CoreTexts& shown = texts.cores[core];
        line += "{\"core\":";
        appendNumber(line, core);
        line += ',';
        appendField(line, "temperature", shown.temperature);
        appendField(line, "distance", shown.distance);
        appendField(line, "min", shown.minimum);
        appendField(line, "minTime", shown.minimumTime);
        appendField(line, "max", shown.maximum);
        appendField(line, "maxTime", shown.maximumTime);
        appendField(line, "status", shown.status);
        appendKey(line, "tjMax");
        appendNumber(line, config.calibration.tjMax[static_cast<std::size_t>(core)]);
        line += '}';
    }
    line += ']';
    if (engine.state().gpuPresent) {
        line += ',';
        appendGpu(line, engine);
    }
    line += '}';
}

std::string tickLines(const Engine& engine) {
    const DisplayTexts& texts = engine.texts();
    const RunConfiguration& config = engine.configuration();
    const std::string& unit = texts.unit;
    std::string lines = "Tick " + std::to_string(engine.state().tickCount) + " at " +
                        texts.tickTime + "  " + texts.model + "  " + texts.heading + "  " +
                        texts.statusCaption + "\n";
    lines += "  " + (texts.clock.empty() ? std::string("clock not yet calibrated") : texts.clock) +
             "  " + texts.busClock + "  " + texts.load + "  " +
             (engine.state().clock.vidShown ? "" : "run time ") + texts.vidOrRunTime + "\n";
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
    if (engine.state().gpuPresent) {
        lines += gpuLine(engine);
    }
    return lines;
}

}  // namespace calidus
