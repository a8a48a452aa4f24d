#include "platform/sim/SimAdlLibrary.h"

namespace calidus {

namespace {

constexpr int kAdlError = -1;

}  // namespace

SimAdlLibrary::SimAdlLibrary(const MachineDescription& machine) : state_(machine.atiLibrary) {
    for (const GpuDescription& gpu : machine.gpus) {
        if (gpu.vendor != GpuVendor::Ati) {
            continue;
        }
        for (int output = 0; output < gpu.outputs; ++output) {
            cardOfAdapter_.push_back(cards_.size());
        }
        cards_.emplace_back(gpu);
    }
}

bool SimAdlLibrary::load() {
    return state_ != GpuLibraryState::Missing;
}

int SimAdlLibrary::create() {
    created_ = state_ == GpuLibraryState::Present;
    return created_ ? 0 : kAdlError;
}

SimGpuCard* SimAdlLibrary::card(int adapter, std::string_view call) {
    if (!created_ || adapter < 0 || adapter >= static_cast<int>(cardOfAdapter_.size())) {
        return nullptr;
    }
    SimGpuCard& found = cards_[cardOfAdapter_[static_cast<std::size_t>(adapter)]];
    return found.fails(call) ? nullptr : &found;
}

int SimAdlLibrary::adapterCount(int& count) {
    if (!created_) {
        return kAdlError;
    }
    count = static_cast<int>(cardOfAdapter_.size());
    return 0;
}

int SimAdlLibrary::adapterNames(int count, std::vector<std::string>& names) {
    if (!created_ || count != static_cast<int>(cardOfAdapter_.size())) {
        return kAdlError;
    }
    names.clear();
    for (const std::size_t index : cardOfAdapter_) {
        names.push_back(cards_[index].description().name);
    }
    return 0;
}

// Numbers start at 1: the monitor takes 0 for "no adapter before this one".
int SimAdlLibrary::adapterId(int adapter, int& id) {
    if (card(adapter, "adapterid") == nullptr) {
        return kAdlError;
    }
    id = static_cast<int>(cardOfAdapter_[static_cast<std::size_t>(adapter)]) + 1;
    return 0;
}

int SimAdlLibrary::temperature(int adapter, int& millidegrees) {
    SimGpuCard* found = card(adapter, "temperature");
    if (found == nullptr) {
        return kAdlError;
    }
    millidegrees = found->nextTemperature() * 1000;
    return 0;
}

int SimAdlLibrary::activity(int adapter, AdlActivity& activity) {
    const SimGpuCard* found = card(adapter, "activity");
    if (found == nullptr) {
        return kAdlError;
    }
    const GpuDescription& gpu = found->description();
    activity = {.engineClock = gpu.coreClockMHz * 100,
                .memoryClock = gpu.memoryClockMHz * 100,
                .vddc = gpu.voltageMillivolts,
                .currentBusLanes = gpu.linkWidth};
    return 0;
}

void SimAdlLibrary::unload() {
    created_ = false;
}

}  // namespace calidus
