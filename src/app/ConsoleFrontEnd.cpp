#include "app/ConsoleFrontEnd.h"

#include <atomic>
#include <thread>

#include "app/ExitStatus.h"
#include "app/TickReport.h"
#include "view/DisplayTexts.h"

#include <string>

namespace calidus {

namespace {

// How often the benchmark's end and a stop request are looked for between ticks.
constexpr std::chrono::milliseconds kBenchmarkPoll{50};

// Answers false when a stop was asked for before the time had passed.
bool waitFor(std::chrono::milliseconds duration, const ConsoleRun& run) {
    if (run.stopRequested()) {
        return false;
    }
    run.wait(duration);
    return !run.stopRequested();
}

// The exit status of a start-up that did not get to monitoring.
std::optional<ExitStatus> startFailure(Engine& engine) {
    switch (engine.start().outcome) {
        case StartOutcome::Ready:
            return std::nullopt;
        case StartOutcome::Refused:
            engine.shutdown();
            return ExitStatus::Refused;
        case StartOutcome::DriverError:
        case StartOutcome::MemoryError:
            break;
    }
    return ExitStatus::DriverError;
}

int endStatus(const Engine& engine) {
    return engine.exitSaveFailed() ? exitCode(ExitStatus::SettingsNotSaved)
                                   : exitCode(ExitStatus::Ok);
}

}  // namespace

int runConsole(Engine& engine, const ConsoleRun& run, std::ostream& out, std::ostream& errors) {
    if (const std::optional<ExitStatus> failure = startFailure(engine)) {
        return exitCode(*failure);
    }
    if (run.format == ConsoleFormat::Lines && engine.readOnly()) {
        out << kReadOnlySource << "\n";
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
    return endStatus(engine);
}

int runConsoleBenchmark(Engine& engine, const ConsoleRun& run, std::ostream& out,
                        std::ostream& errors) {
    if (const std::optional<ExitStatus> failure = startFailure(engine)) {
        return exitCode(*failure);
    }
    // The first tick, as in a window, so that the benchmark starts on measured figures.
    if (!waitFor(Engine::kFirstTickDelay, run)) {
        engine.shutdown();
        return endStatus(engine);
    }
    engine.runTick();

    BenchmarkControl& control = engine.benchmark();
    control.setRunning(true);
    std::optional<BenchmarkResult> result;
    std::atomic<bool> finished{false};
    std::thread worker([&, inputs = engine.benchmarkInputs()] {
        result = runBenchmark(inputs, {});
        finished.store(true);
    });
    std::chrono::milliseconds sinceTick{0};
    while (!finished.load() && !run.stopRequested()) {
        run.wait(kBenchmarkPoll);
        sinceTick += kBenchmarkPoll;
        if (sinceTick >= engine.tickPeriod()) {
            engine.runTick();
            sinceTick = std::chrono::milliseconds(0);
        }
    }
    if (!finished.load()) {
        control.requestStop();
    }
    worker.join();
    control.setRunning(false);
    engine.shutdown();

    const std::string_view name = engine.edition().programName;
    if (!result) {
        errors << name << ": no high-resolution counter to time the benchmark\n";
        return exitCode(ExitStatus::BenchmarkFailed);
    }
    if (result->cancelled) {
        errors << name << ": the benchmark was stopped\n";
        return endStatus(engine);
    }
    if (run.format == ConsoleFormat::Json) {
        out << benchmarkJson(*result) << std::endl;
    } else {
        out << benchmarkText(*result, engine.edition()) << std::endl;
    }
    if (!result->checksumPass) {
        return exitCode(ExitStatus::BenchmarkFailed);
    }
    return out ? endStatus(engine) : exitCode(ExitStatus::OutputClosed);
}

}  // namespace calidus
