#include "gpu/AtiSensor.h"

#include <algorithm>

namespace calidus {

namespace {

constexpr int kLowestValid = 1;
constexpr int kHighestValid = 127;

}  // namespace

std::unique_ptr<AtiSensor> AtiSensor::create(AdlLibrary& library, Clock& clock) {
    if (!library.load()) {
        return nullptr;
    }
    int count = 0;
    std::vector<std::string> names;
    if (library.create() != 0 || library.adapterCount(count) != 0 || count <= 0 ||
        library.adapterNames(count, names) != 0 || static_cast<int>(names.size()) != count) {
        library.unload();
        return nullptr;
    }
    std::unique_ptr<AtiSensor> sensor(new AtiSensor(library, std::move(names), clock.now()));
    if (sensor->read(clock, {}) == 0) {
        return nullptr;
    }
    return sensor;
}

AtiSensor::AtiSensor(AdlLibrary& library, std::vector<std::string> names, std::time_t now)
    : library_(library),
      names_(std::move(names)),
      adapters_(names_.size()),
      slots_(names_.size(), kNotRead),
      temperatures_(names_.size(), kNotRead) {
    for (GpuExtremes& adapter : adapters_) {
        adapter.reset(now);
    }
}

AtiSensor::~AtiSensor() {
    library_.unload();
}

// Reads fall on wall-clock multiples of the period, not every period after start.
bool AtiSensor::dueNow(Clock& clock, int pollInterval) const {
    if (firstRead_) {
        return true;
    }
    const std::tm local = clock.localTime(clock.now());
    const int secondOfDay = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return pollInterval > 0 && secondOfDay % pollInterval == 0;
}

// The library lists one index per output of a card; only the first of each run of equal
// adapter numbers is read. A failed query leaves the previous number as it was.
void AtiSensor::chooseAdapters() {
    int previous = 0;
    for (int adapter = 0; adapter < adapterCount(); ++adapter) {
        slots_[adapter] = kNotRead;
        int id = 0;
        if (library_.adapterId(adapter, id) == 0 && id != previous) {
            slots_[adapter] = adapter;
            previous = id;
        }
    }
}

std::uint32_t AtiSensor::read(Clock& clock, const AtiReadPeriod& period) {
    if (period.disableSensor || !dueNow(clock, period.pollInterval)) {
        return 1;
    }
    firstRead_ = false;
    chooseAdapters();
    const std::time_t now = clock.now();
    hottest_ = 0;
    bool failed = false;
    for (int adapter = 0; adapter < adapterCount(); ++adapter) {
        int millidegrees = 0;
        if (slots_[adapter] == kNotRead) {
            temperatures_[adapter] = kNotRead;
            continue;
        }
        if (library_.temperature(adapter, millidegrees) != 0) {
            temperatures_[adapter] = kNotRead;
            failed = true;
            continue;
        }
        readMask_ |= 1u << (adapter % 32);
        const int temperature = millidegrees / 1000;
        temperatures_[adapter] = temperature;
        if (temperature < kLowestValid || temperature > kHighestValid) {
            failed = true;
            continue;
        }
        adapters_[adapter].note(temperature, now);
        hottest_ = std::max(hottest_, temperature);
    }
    // A read in which nothing was valid leaves 0 in both.
    if (failed && hottest_ != 0) {
        hottest_ = lastHottest_;
    } else {
        lastHottest_ = hottest_;
    }
    return readMask_;
}

void AtiSensor::reset(std::time_t now) {
    for (GpuExtremes& adapter : adapters_) {
        adapter.reset(now);
    }
    hottest_ = 0;
    firstRead_ = true;
}

bool AtiSensor::activity(int adapter, AdlActivity& activity) const {
    return library_.activity(adapter, activity) == 0;
}

}  // namespace calidus
