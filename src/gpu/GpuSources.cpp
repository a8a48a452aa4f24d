#include "gpu/GpuSources.h"

#include <algorithm>

#include "measure/CoreTemperatures.h"

namespace calidus {

bool GpuSources::bringUpAti(RunContext& run) {
    if (run.platform.adl != nullptr) {
        ati_ = AtiSensor::create(*run.platform.adl, *run.platform.clock);
    }
    atiActive_ = ati_ != nullptr;
    run.state.gpuPresent = run.state.gpuPresent || atiActive_;
    return atiActive_;
}

bool GpuSources::bringUpNvidia(RunContext& run) {
    if (run.platform.nvidia != nullptr) {
        nvidia_ = NvidiaSensor::create(*run.platform.nvidia, run.platform.clock->now());
    }
    nvidiaActive_ = nvidia_ != nullptr;
    run.state.gpuPresent = run.state.gpuPresent || nvidiaActive_;
    return nvidiaActive_;
}

void GpuSources::startUp(RunContext& run) {
    if (run.settings.gpu & kAtiBit) {
        bringUpAti(run);
    }
    if (run.settings.gpu & kNvidiaBit) {
        bringUpNvidia(run);
    }
}

// A source that does not exist counts as 0; one frozen or between its reads keeps its value.
void GpuSources::tick(RunContext& run) {
    if (!run.state.gpuPresent) {
        return;
    }
    const std::time_t now = run.state.tickTime;
    if (nvidia_) {
        nvidia_->read(now);
    }
    if (ati_) {
        ati_->read(*run.platform.clock, {.pollInterval = run.settings.pollInterval,
                                         .disableSensor = run.settings.disableSensor});
    }
    const int hottest = std::max(nvidia_ ? nvidia_->hottest() : 0, ati_ ? ati_->hottest() : 0);
    updateGpuSample(run.state, hottest, monitorSettings(run.settings), run.edition, now);
}

void GpuSources::shutDown(RunContext&) {
    ati_.reset();
    nvidia_.reset();
}

void GpuSources::reset(std::time_t now) {
    if (ati_) {
        ati_->reset(now);
    }
    if (nvidia_) {
        nvidia_->reset(now);
    }
}

GpuBoxOutcome GpuSources::setAtiBox(RunContext& run, bool checked) {
    if (!checked) {
        atiActive_ = false;
        return GpuBoxOutcome::RestartToDisable;
    }
    if (ati_) {
        atiActive_ = true;
        return GpuBoxOutcome::Running;
    }
    return bringUpAti(run) ? GpuBoxOutcome::Running : GpuBoxOutcome::Failed;
}

GpuBoxOutcome GpuSources::setNvidiaBox(RunContext& run, bool checked) {
    if (!checked) {
        nvidiaActive_ = false;
        return GpuBoxOutcome::RestartToDisable;
    }
    if (nvidia_) {
        nvidiaActive_ = true;
        return GpuBoxOutcome::Running;
    }
    return bringUpNvidia(run) ? GpuBoxOutcome::Running : GpuBoxOutcome::Failed;
}

}  // namespace calidus
