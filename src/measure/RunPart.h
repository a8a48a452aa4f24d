#pragma once

#include <ctime>

#include "common/Edition.h"
#include "config/Settings.h"
#include "cpu/ProcessorAccess.h"
#include "cpu/RunConfiguration.h"
#include "measure/MonitorState.h"
#include "measure/ThreadControl.h"
#include "platform/Platform.h"

namespace calidus {

// What a part of a run works with; the engine owns all of it for the whole run.
struct RunContext {
    const Edition& edition;
    Platform& platform;
    ProcessorAccess& access;
    Settings& settings;
    RunConfiguration& config;
    MonitorState& state;
    ThreadControl& threads;
};

// A capability that takes part in a run. The engine calls each part by name at its fixed
// place in the start-up, the tick and the shutdown; a part has only the steps it needs.
class RunPart {
  public:
    virtual ~RunPart() = default;

    virtual void startUp(RunContext&) {}
    virtual void tick(RunContext&) {}
    virtual void shutDown(RunContext&) {}
};

}  // namespace calidus
