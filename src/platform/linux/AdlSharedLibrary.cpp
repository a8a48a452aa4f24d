#include "platform/linux/AdlSharedLibrary.h"

#include <cstdlib>
#include <cstring>

namespace calidus {

namespace {

constexpr int kAdlError = -1;  // ADL_ERR
constexpr int kConnectedAdaptersOnly = 1;

// The library allocates what it hands back through this; the calls made here hand back nothing
// that would have to be freed.
void* allocate(int size) {
    return size > 0 ? std::malloc(static_cast<std::size_t>(size)) : nullptr;
}

}  // namespace

AdlSharedLibrary::AdlSharedLibrary(LibraryLoader& loader, std::string name)
    : loader_(loader), name_(std::move(name)) {}

AdlSharedLibrary::~AdlSharedLibrary() {
    unload();
}

template <typename Entry>
bool AdlSharedLibrary::resolve(Entry& entry, const char* name) {
    entry = reinterpret_cast<Entry>(loader_.symbol(library_, name));
    return entry != nullptr;
}

// All eight must be there, the adapter-active call too although it is never made.
bool AdlSharedLibrary::load() {
    library_ = loader_.open(name_);
    if (library_ == nullptr) {
        return false;
    }
    Entries& e = entries_;
    const bool complete = resolve(e.mainControlCreate, "ADL_Main_Control_Create") &&
                          resolve(e.mainControlDestroy, "ADL_Main_Control_Destroy") &&
                          resolve(e.numberOfAdaptersGet, "ADL_Adapter_NumberOfAdapters_Get") &&
                          resolve(e.adapterInfoGet, "ADL_Adapter_AdapterInfo_Get") &&
                          resolve(e.adapterActiveGet, "ADL_Adapter_Active_Get") &&
                          resolve(e.temperatureGet, "ADL_Overdrive5_Temperature_Get") &&
                          resolve(e.adapterIdGet, "ADL_Adapter_ID_Get") &&
                          resolve(e.currentActivityGet, "ADL_Overdrive5_CurrentActivity_Get");
    if (!complete) {
        loader_.close(library_);
        library_ = nullptr;
        entries_ = {};
    }
    return complete;
}

int AdlSharedLibrary::create() {
    return library_ == nullptr ? kAdlError
                               : entries_.mainControlCreate(allocate, kConnectedAdaptersOnly);
}

int AdlSharedLibrary::adapterCount(int& count) {
    return library_ == nullptr ? kAdlError : entries_.numberOfAdaptersGet(&count);
}

int AdlSharedLibrary::adapterNames(int count, std::vector<std::string>& names) {
    if (library_ == nullptr || count <= 0) {
        return kAdlError;
    }
    std::vector<AdapterInfo> records(static_cast<std::size_t>(count));
    std::memset(records.data(), 0, records.size() * sizeof(AdapterInfo));
    const int status = entries_.adapterInfoGet(
        records.data(), static_cast<int>(records.size() * sizeof(AdapterInfo)));
    if (status != 0) {
        return status;
    }
    names.clear();
    for (const AdapterInfo& record : records) {
        names.emplace_back(record.adapterName, strnlen(record.adapterName, kMaxPath));
    }
    return 0;
}

int AdlSharedLibrary::adapterId(int adapter, int& id) {
    return library_ == nullptr ? kAdlError : entries_.adapterIdGet(adapter, &id);
}

int AdlSharedLibrary::temperature(int adapter, int& millidegrees) {
    if (library_ == nullptr) {
        return kAdlError;
    }
    Temperature record{sizeof(Temperature), 0};
    const int status = entries_.temperatureGet(adapter, 0, &record);
    if (status == 0) {
        millidegrees = record.temperature;
    }
    return status;
}

int AdlSharedLibrary::activity(int adapter, AdlActivity& activity) {
    if (library_ == nullptr) {
        return kAdlError;
    }
    Activity record{};
    record.size = sizeof(Activity);
    const int status = entries_.currentActivityGet(adapter, &record);
    if (status == 0) {
        activity = {.engineClock = record.engineClock,
                    .memoryClock = record.memoryClock,
                    .vddc = record.vddc,
                    .currentBusLanes = record.currentBusLanes};
    }
    return status;
}

void AdlSharedLibrary::unload() {
    if (library_ == nullptr) {
        return;
    }
    entries_.mainControlDestroy();
    loader_.close(library_);
    library_ = nullptr;
    entries_ = {};
}

}  // namespace calidus
