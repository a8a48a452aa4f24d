#include "platform/linux/AmdgpuFiles.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <sstream>

#include "common/Text.h"

namespace calidus {

namespace {

constexpr int kFailed = -1;
constexpr int kTenKilohertzPerMegahertz = 100;

std::optional<std::string> fileText(const std::filesystem::path& path) {
    std::ifstream in(path);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string firstLine(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return std::string(trimBlanks(line));
}

std::optional<long long> leadingNumber(std::string_view text) {
    text = trimBlanks(text);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data()) {
        return std::nullopt;
    }
    return value;
}

std::optional<long long> fileNumber(const std::filesystem::path& path) {
    const std::optional<std::string> text = fileText(path);
    return text ? leadingNumber(*text) : std::nullopt;
}

// "KEY=value" lines of a uevent file.
std::string ueventValue(const std::string& uevent, std::string_view key) {
    std::istringstream lines(uevent);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > key.size() && line.compare(0, key.size(), key) == 0 &&
            line[key.size()] == '=') {
            return std::string(trimBlanks(std::string_view(line).substr(key.size() + 1)));
        }
    }
    return {};
}

// The level marked "*" of a clock table ("1: 1340Mhz *"), in megahertz.
int currentLevel(const std::filesystem::path& path) {
    const std::optional<std::string> table = fileText(path);
    if (!table) {
        return 0;
    }
    std::istringstream lines(*table);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t colon = line.find(':');
        if (line.find('*') != std::string::npos && colon != std::string::npos) {
            return static_cast<int>(
                leadingNumber(std::string_view(line).substr(colon + 1)).value_or(0));
        }
    }
    return 0;
}

// "card0" but not a connector such as "card0-DP-1".
std::optional<int> cardNumber(const std::string& name) {
    if (name.size() <= 4 || name.compare(0, 4, "card") != 0) {
        return std::nullopt;
    }
    int number = 0;
    const auto [end, error] = std::from_chars(name.data() + 4, name.data() + name.size(), number);
    if (error != std::errc() || end != name.data() + name.size()) {
        return std::nullopt;
    }
    return number;
}

std::filesystem::path firstHwmon(const std::filesystem::path& device) {
    std::error_code error;
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(device / "hwmon", error)) {
        found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found.empty() ? std::filesystem::path() : found.front();
}

}  // namespace

AmdgpuFiles::AmdgpuFiles(std::filesystem::path sysRoot) : sysRoot_(std::move(sysRoot)) {}

bool AmdgpuFiles::load() {
    std::map<int, Card> byNumber;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(sysRoot_ / "class" / "drm", error)) {
        const std::optional<int> number = cardNumber(entry.path().filename().string());
        if (!number) {
            continue;
        }
        const std::filesystem::path device = entry.path() / "device";
        const std::string uevent = fileText(device / "uevent").value_or("");
        if (ueventValue(uevent, "DRIVER") != "amdgpu") {
            continue;
        }
        byNumber[*number] = {device, firstHwmon(device), ueventValue(uevent, "PCI_ID")};
    }
    cards_.clear();
    for (auto& [number, found] : byNumber) {
        cards_.push_back(std::move(found));
    }
    return !cards_.empty();
}

int AmdgpuFiles::create() {
    return cards_.empty() ? kFailed : 0;
}

int AmdgpuFiles::adapterCount(int& count) {
    count = static_cast<int>(cards_.size());
    return 0;
}

int AmdgpuFiles::adapterNames(int count, std::vector<std::string>& names) {
    if (count != static_cast<int>(cards_.size())) {
        return kFailed;
    }
    names.clear();
    for (const Card& found : cards_) {
        const std::string product = firstLine(found.device / "product_name");
        names.push_back(product.empty() ? found.pciId : product);
    }
    return 0;
}

const AmdgpuFiles::Card* AmdgpuFiles::card(int adapter) const {
    return adapter >= 0 && adapter < static_cast<int>(cards_.size()) ? &cards_[adapter] : nullptr;
}

// Every card is its own physical adapter; numbers start at 1 so that none looks like "none".
int AmdgpuFiles::adapterId(int adapter, int& id) {
    if (card(adapter) == nullptr) {
        return kFailed;
    }
    id = adapter + 1;
    return 0;
}

int AmdgpuFiles::temperature(int adapter, int& millidegrees) {
    const Card* found = card(adapter);
    if (found == nullptr || found->hwmon.empty()) {
        return kFailed;
    }
    const std::optional<long long> value = fileNumber(found->hwmon / "temp1_input");
    if (!value) {
        return kFailed;
    }
    millidegrees = static_cast<int>(*value);
    return 0;
}

// What a file does not give stays 0.
int AmdgpuFiles::activity(int adapter, AdlActivity& activity) {
    const Card* found = card(adapter);
    if (found == nullptr) {
        return kFailed;
    }
    activity.engineClock = currentLevel(found->device / "pp_dpm_sclk") * kTenKilohertzPerMegahertz;
    activity.memoryClock = currentLevel(found->device / "pp_dpm_mclk") * kTenKilohertzPerMegahertz;
    activity.vddc = found->hwmon.empty()
                        ? 0
                        : static_cast<int>(fileNumber(found->hwmon / "in0_input").value_or(0));
    activity.currentBusLanes =
        static_cast<int>(fileNumber(found->device / "current_link_width").value_or(0));
    return 0;
}

void AmdgpuFiles::unload() {
    cards_.clear();
}

}  // namespace calidus
