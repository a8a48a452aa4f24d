#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "gpu/GpuExtremes.h"
#include "platform/AdlLibrary.h"
#include "platform/Clock.h"

namespace calidus {

// How often the ATI source reads, and whether it reads at all ("PollInterval", "DisableSensor").
struct AtiReadPeriod {
    int pollInterval = 5;  // seconds
    bool disableSensor = false;
};

// The ATI temperature source: the adapters of AMD's display library, of which the first index
// of each physical adapter is read, on wall-clock multiples of the read period. It lets the
// library go when it is destroyed.
class AtiSensor {
  public:
    static constexpr int kNotRead = -1;

    // Loads the library, finds the adapters and reads them once; nullptr when a step failed or
    // no adapter answered, and the library is let go again.
    static std::unique_ptr<AtiSensor> create(AdlLibrary& library, Clock& clock);
    ~AtiSensor();
    AtiSensor(const AtiSensor&) = delete;
    AtiSensor& operator=(const AtiSensor&) = delete;

    // One monitoring cycle: nothing while frozen or between read periods. Answers the mask of
    // the adapter indices that ever answered (0: none did).
    std::uint32_t read(Clock& clock, const AtiReadPeriod& period);
    // Every adapter's extremes start again, hottest becomes 0 and the next read is at once.
    void reset(std::time_t now);
    // The next read ignores the read period.
    void readAtOnce() { firstRead_ = true; }

    int hottest() const { return hottest_; }
    int adapterCount() const { return static_cast<int>(names_.size()); }
    const std::string& adapterName(int adapter) const { return names_[adapter]; }
    const GpuExtremes& extremes(int adapter) const { return adapters_[adapter]; }
    // Degrees Celsius of the last read, also when out of range; kNotRead when not read or failed.
    int temperature(int adapter) const { return temperatures_[adapter]; }
    // Whether the index was chosen to be read, as the first of its physical adapter.
    bool selected(int adapter) const { return slots_[adapter] != kNotRead; }
    std::uint32_t readMask() const { return readMask_; }
    bool answered(int adapter) const { return (readMask_ >> (adapter % 32)) & 1; }
    bool activity(int adapter, AdlActivity& activity) const;

  private:
    AtiSensor(AdlLibrary& library, std::vector<std::string> names, std::time_t now);

    bool dueNow(Clock& clock, int pollInterval) const;
    void chooseAdapters();

    AdlLibrary& library_;
    std::vector<std::string> names_;
    std::vector<GpuExtremes> adapters_;
    std::vector<int> slots_;
    std::vector<int> temperatures_;
    int hottest_ = 0;
    int lastHottest_ = 0;
    bool firstRead_ = true;
    std::uint32_t readMask_ = 0;
};

}  // namespace calidus
