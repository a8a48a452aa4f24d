#pragma once

#include <string>
#include <vector>

#include "platform/AdlLibrary.h"
#include "platform/LibraryLoader.h"

namespace calidus {

// The AMD Display Library for Linux under the Windows library's entry names. Its records are
// declared here from the library's public SDK headers, in their Linux layout.
class AdlSharedLibrary : public AdlLibrary {
  public:
    explicit AdlSharedLibrary(LibraryLoader& loader, std::string name = "libatiadlxx.so");
    ~AdlSharedLibrary() override;
    AdlSharedLibrary(const AdlSharedLibrary&) = delete;
    AdlSharedLibrary& operator=(const AdlSharedLibrary&) = delete;

    bool load() override;
    int create() override;
    int adapterCount(int& count) override;
    int adapterNames(int count, std::vector<std::string>& names) override;
    int adapterId(int adapter, int& id) override;
    int temperature(int adapter, int& millidegrees) override;
    int activity(int adapter, AdlActivity& activity) override;
    void unload() override;

  private:
    static constexpr int kMaxPath = 256;
    struct AdapterInfo {
        int size;
        int adapterIndex;
        char udid[kMaxPath];
        int busNumber;
        int deviceNumber;
        int functionNumber;
        int vendorId;
        char adapterName[kMaxPath];
        char displayName[kMaxPath];
        int present;
        int xScreenNumber;
        int driverIndex;
        char xScreenConfigName[kMaxPath];
    };
    struct Temperature {
        int size;
        int temperature;
    };
    struct Activity {
        int size;
        int engineClock;
        int memoryClock;
        int vddc;
        int activityPercent;
        int currentPerformanceLevel;
        int currentBusSpeed;
        int currentBusLanes;
        int maximumBusLanes;
        int reserved;
    };
    using Allocator = void* (*)(int);
    struct Entries {
        int (*mainControlCreate)(Allocator, int) = nullptr;
        int (*mainControlDestroy)() = nullptr;
        int (*numberOfAdaptersGet)(int*) = nullptr;
        int (*adapterInfoGet)(AdapterInfo*, int) = nullptr;
        int (*adapterActiveGet)(int, int*) = nullptr;
        int (*temperatureGet)(int, int, Temperature*) = nullptr;
        int (*adapterIdGet)(int, int*) = nullptr;
        int (*currentActivityGet)(int, Activity*) = nullptr;
    };

    template <typename Entry>
    bool resolve(Entry& entry, const char* name);

    LibraryLoader& loader_;
    std::string name_;
    LibraryLoader::Handle library_ = nullptr;
    Entries entries_;
};

}  // namespace calidus
