#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <optional>
#include <vector>

#include "cpu/ProcessorInfo.h"
#include "measure/ClockState.h"
#include "measure/ClockThread.h"
#include "measure/CounterSampling.h"
#include "measure/LoadMeasurement.h"
#include "measure/RunPart.h"
#include "measure/RunTime.h"
#include "measure/WorkerThread.h"

namespace calidus {

// Clock, multiplier, VID or run time and load: the ratios and a first counter snapshot at
// start-up, the clock thread, and every tick the figures of MonitorState::clock.
class ClockMeasurement : public RunPart {
  public:
    explicit ClockMeasurement(const LoadMeasurement& load) : load_(load) {}

    // After the identification: the ratios, the fixed counters enabled and their first values.
    void snapshotCounters(RunContext& run, const ProcessorInfo& processor);
    // After the core map.
    void startThread(RunContext& run);
    // Once the settings are read ("MSRMulti").
    void applySettings(const Settings& settings);
    // When monitoring begins: the run time counts from here, its gap test by the tick period.
    void startRunTime(std::time_t now, std::chrono::milliseconds tickPeriod);
    // Near the end of every tick, after the tray.
    void tick(RunContext& run) override;
    // After the worker threads' stop handshake.
    void shutDown(RunContext& run) override;
    void resetRunTime(MonitorState& state);

    const ClockState& clockState() const { return clock_; }
    const ClockFigures& figures() const { return figures_; }

  private:
    void initRatios(RunContext& run);
    void kernelTick(RunContext& run);
    double sampleCounters(RunContext& run);
    double ratioFromMsrs(RunContext& run);
    std::vector<CounterReading> readCounters(RunContext& run, MsrRead* also = nullptr);
    int entries(const RunContext& run) const;
    bool present(const RunContext& run, int processor) const;

    const LoadMeasurement& load_;
    const ProcessorInfo* processor_ = nullptr;
    ClockState clock_;
    ClockFigures figures_;
    RunTime runTime_;
    std::uint32_t lastFlexRatio_ = 0;
    WorkerThread thread_;  // last: it goes first, while what it uses is still there
};

}  // namespace calidus
