#pragma once

#include <ctime>
#include <memory>
#include <string_view>

#include "config/SettingsReader.h"
#include "gpu/AtiSensor.h"
#include "gpu/NvidiaSensor.h"
#include "measure/RunPart.h"

namespace calidus {

// What a checked or cleared "ATI" / "Nvidia" box of the Settings window comes to.
enum class GpuBoxOutcome {
    Running,           // the source runs: the GPU icon and colour controls may be enabled
    Failed,            // it could not be brought up: clear the box and disable it for this run
    RestartToDisable,  // cleared: say kRestartToDisableGpu; the source runs on until exit
};

inline constexpr std::string_view kRestartToDisableGpu = "Restart to disable GPU monitoring.";

// The GPU temperature sources of a run. Start-up brings up those that "GPU" asks for (the ATI
// source first); each tick reads them and folds the hotter of their values into the GPU sample;
// shutdown lets their libraries go. The active flags are what "GPU" is saved from.
class GpuSources : public RunPart {
  public:
    static constexpr int kNvidiaBit = 1;
    static constexpr int kAtiBit = 2;

    void startUp(RunContext& run) override;
    void tick(RunContext& run) override;
    void shutDown(RunContext& run) override;

    // The main window's Reset: extremes start again and the ATI source reads at once.
    void reset(std::time_t now);

    // The Settings window's boxes. Checking brings a source up that does not exist yet.
    GpuBoxOutcome setAtiBox(RunContext& run, bool checked);
    GpuBoxOutcome setNvidiaBox(RunContext& run, bool checked);

    // Which sources "GPU" is saved with.
    GpuSourcesRunning active() const { return {atiActive_, nvidiaActive_}; }
    // The running sources, also one whose box was cleared; nullptr when there is none.
    AtiSensor* ati() { return ati_.get(); }
    NvidiaSensor* nvidia() { return nvidia_.get(); }
    const AtiSensor* ati() const { return ati_.get(); }
    const NvidiaSensor* nvidia() const { return nvidia_.get(); }

  private:
    bool bringUpAti(RunContext& run);
    bool bringUpNvidia(RunContext& run);

    std::unique_ptr<AtiSensor> ati_;
    std::unique_ptr<NvidiaSensor> nvidia_;
    bool atiActive_ = false;
    bool nvidiaActive_ = false;
};

}  // namespace calidus
