#include "platform/linux/CoretempSensors.h"

#include <charconv>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>

namespace calidus {

namespace {

std::string firstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

std::optional<int> number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> numberAfter(std::string_view text, std::string_view prefix) {
    if (!text.starts_with(prefix)) {
        return std::nullopt;
    }
    return number(text.substr(prefix.size()));
}

using Location = std::pair<int, int>;  // package, core id

// Every "Core C" sensor of every coretemp hwmon, by package and core id. A driver without a
// package sensor (one hwmon per core on old kernels) counts as package 0.
std::map<Location, std::filesystem::path> coreSensors(const std::filesystem::path& sysRoot) {
    std::map<Location, std::filesystem::path> found;
    std::error_code error;
    for (const auto& hwmon : std::filesystem::directory_iterator(sysRoot / "class/hwmon", error)) {
        if (firstLine(hwmon.path() / "name") != "coretemp") {
            continue;
        }
        int package = 0;
        std::map<int, std::filesystem::path> cores;
        for (const auto& entry : std::filesystem::directory_iterator(hwmon.path(), error)) {
            const std::string name = entry.path().filename().string();
            if (!name.starts_with("temp") || !name.ends_with("_label")) {
                continue;
            }
            const std::string label = firstLine(entry.path());
            const std::filesystem::path prefix =
                hwmon.path() / name.substr(0, name.size() - std::string_view("label").size());
            if (const std::optional<int> id = numberAfter(label, "Package id ")) {
                package = *id;
            } else if (const std::optional<int> core = numberAfter(label, "Core ")) {
                cores.emplace(*core, prefix);
            }
        }
        for (const auto& [core, prefix] : cores) {
            found.emplace(Location{package, core}, prefix);
        }
    }
    return found;
}

}  // namespace

CoretempSensors::CoretempSensors(std::filesystem::path sysRoot) {
    const std::map<Location, std::filesystem::path> cores = coreSensors(sysRoot);
    std::error_code error;
    const std::filesystem::path cpus = sysRoot / "devices/system/cpu";
    for (const auto& entry : std::filesystem::directory_iterator(cpus, error)) {
        const std::optional<int> processor = numberAfter(entry.path().filename().string(), "cpu");
        const std::optional<int> package =
            number(firstLine(entry.path() / "topology/physical_package_id"));
        const std::optional<int> core = number(firstLine(entry.path() / "topology/core_id"));
        if (!processor || *processor < 0 || !package || !core) {
            continue;
        }
        const auto sensor = cores.find({*package, *core});
        if (sensor != cores.end()) {
            sensors_.emplace(static_cast<std::uint32_t>(*processor), sensor->second);
        }
    }
}

std::optional<KernelReading> CoretempSensors::read(std::uint32_t processor) const {
    const auto sensor = sensors_.find(processor);
    if (sensor == sensors_.end()) {
        return std::nullopt;
    }
    const std::string prefix = sensor->second.string();
    const std::optional<int> input = number(firstLine(prefix + "input"));
    const std::optional<int> critical = number(firstLine(prefix + "crit"));
    if (!input || !critical) {
        return std::nullopt;
    }
    return KernelReading{.input = *input,
                         .critical = *critical,
                         .criticalAlarm = firstLine(prefix + "crit_alarm") == "1"};
}

}  // namespace calidus
