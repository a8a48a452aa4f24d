#pragma once

#include <string>
#include <vector>

namespace calidus {

// The activity record of one adapter.
struct AdlActivity {
    int engineClock = 0;  // 10 kHz units
    int memoryClock = 0;  // 10 kHz units
    int vddc = 0;         // millivolts
    int currentBusLanes = 0;
};

// AMD's display library, or what gives its adapters where it is missing. Adapters are indices
// 0..count-1; one card may be listed once per output, all with one adapter number. Every call
// but load answers 0 on success and anything else on failure.
class AdlLibrary {
  public:
    virtual ~AdlLibrary() = default;

    // The library is there with every entry point the monitor uses.
    virtual bool load() = 0;
    // Starts the library for the connected adapters.
    virtual int create() = 0;
    virtual int adapterCount(int& count) = 0;
    // One name per adapter index, as the library spells it.
    virtual int adapterNames(int count, std::vector<std::string>& names) = 0;
    // Equal for the indices of one physical adapter.
    virtual int adapterId(int adapter, int& id) = 0;
    virtual int temperature(int adapter, int& millidegrees) = 0;
    virtual int activity(int adapter, AdlActivity& activity) = 0;
    // Ends what create started and lets the library go.
    virtual void unload() = 0;
};

}  // namespace calidus
