#include "app/ConsoleFrontEnd.h"

#include "app/ExitStatus.h"
#include "app/TickReport.h"

#include <string>

namespace calidus {

namespace {

// Answers false when a stop was asked for before the time had passed.
bool waitFor(std::chrono::milliseconds duration, const ConsoleRun& run) {
    if (run.stopRequested()) {
        return false;
    }
    run.wait(duration);
    return !run.stopRequested();
}

}  // namespace

int runConsole(Engine& engine, const ConsoleRun& run, std::ostream& out, std::ostream& errors) {
    switch (engine.start().outcome) {
        case StartOutcome::Ready:
            break;
        case StartOutcome::Refused:
            engine.shutdown();
            return exitCode(ExitStatus::Refused);
        case StartOutcome::DriverError:
        case StartOutcome::MemoryError:
            return exitCode(ExitStatus::DriverError);
    }
    std::chrono::milliseconds wait = Engine::kFirstTickDelay;
    std::string line;
    for (long long done = 0; !run.ticks || done < *run.ticks; ++done) {
        if (!waitFor(wait, run)) {
            break;
        }
        engine.runTick();
        if (run.format == ConsoleFormat::Json) {
            writeTickJson(engine, line);
            out << line << '\n' << std::flush;
        } else {
            out << tickLines(engine) << std::flush;
        }
        if (!out) {
            break;  // nobody reads any more, for instance a closed pipe
        }
        wait = engine.tickPeriod();
    }
    const bool outputClosed = !out;
    engine.shutdown();
    if (outputClosed) {
        errors << engine.edition().programName << ": the output was closed; the run ended\n";
        return exitCode(ExitStatus::OutputClosed);
    }
    return engine.exitSaveFailed() ? exitCode(ExitStatus::SettingsNotSaved)
                                   : exitCode(ExitStatus::Ok);
}

}  // namespace calidus
