#include "app/ConsoleFrontEnd.h"

#include <algorithm>

#include "app/TickReport.h"

namespace calidus {

namespace {

// A stop request is noticed within this time, whatever the tick period.
constexpr std::chrono::milliseconds kStopCheckInterval{50};

// Answers false when a stop was asked for before the time had passed.
bool waitFor(std::chrono::milliseconds duration, const ConsoleRun& run) {
    while (duration.count() > 0) {
        if (run.stopRequested()) {
            return false;
        }
        const std::chrono::milliseconds step = std::min(duration, kStopCheckInterval);
        run.sleep(step);
        duration -= step;
    }
    return !run.stopRequested();
}

}  // namespace

int runConsole(Engine& engine, const ConsoleRun& run, std::ostream& out) {
    if (engine.start().outcome != StartOutcome::Ready) {
        return 1;
    }
    std::chrono::milliseconds wait = Engine::kFirstTickDelay;
    for (long long done = 0; !run.ticks || done < *run.ticks; ++done) {
        if (!waitFor(wait, run)) {
            break;
        }
        engine.runTick();
        if (run.format == ConsoleFormat::Json) {
            out << tickJson(engine) << std::endl;
        } else {
            out << tickLines(engine) << std::flush;
        }
        if (!out) {
            break;  // nobody reads any more, for instance a closed pipe
        }
        wait = engine.tickPeriod();
    }
    engine.shutdown();
    return out ? 0 : 1;
}

}  // namespace calidus
