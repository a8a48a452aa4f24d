#include "app/Program.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/ConsoleDesktop.h"
#include "app/ConsoleFrontEnd.h"
#include "app/Engine.h"
#include "app/ExitStatus.h"
#include "config/SettingsPath.h"
#include "platform/ProgramPath.h"
#include "platform/StopSignals.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/sim/SimulatedPlatform.h"
#include "ui/WindowFrontEnd.h"

namespace calidus {

namespace {

std::optional<std::string> environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

std::filesystem::path settingsFileOfThisRun(const Edition& edition) {
    const SettingsPlace place{
        .program = programPath(),
        .installedProgramFolder = installedProgramFolder(),
        .xdgConfigHome = environmentValue("XDG_CONFIG_HOME"),
        .home = environmentValue("HOME"),
    };
    return settingsFileFor(edition.programName, place, [](const std::filesystem::path& file) {
        std::error_code error;
        return std::filesystem::exists(file, error);
    });
}

// The log in the current folder; the warning sound from the current folder, beside the
// program, then the installed data folder; the plug-in files from the last two.
EngineSettings engineSettings(const Edition& edition, const CommandLine& options,
                              const std::filesystem::path& settingsFile) {
    EngineSettings settings{.file = settingsFile, .logFolder = {}, .soundFolders = {{}}};
    if (const std::filesystem::path program = programPath(); !program.empty()) {
        settings.soundFolders.push_back(program.parent_path());
        settings.pluginFolders.push_back(program.parent_path());
    }
    settings.soundFolders.push_back(installedDataFolder());
    settings.pluginFolders.push_back(installedDataFolder());
    if (options.prometheusTextfile) {
        settings.prometheus = TextfileTarget{
            .folder = *options.prometheusTextfile,
            .report = [name = std::string(edition.programName)](const std::string& problem) {
                std::cerr << name << ": " << problem << "\n";
            }};
    }
    return settings;
}

}  // namespace

int runProgram(const Edition& edition, int argc, char** argv) {
    const std::filesystem::path settingsFile = settingsFileOfThisRun(edition);
    const ParsedCommandLine parsed =
        parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::cerr << edition.programName << ": " << parsed.error << "\n"
                  << usageText(edition.programName, settingsFile);
        return exitCode(ExitStatus::Usage);
    }
    const CommandLine& options = parsed.options;
    if (options.help) {
        std::cout << usageText(edition.programName, settingsFile);
        return 0;
    }
    if (options.version) {
        std::cout << edition.windowTitle << "\n";
        return 0;
    }
    if (options.listModels) {
        for (const BuiltInModel& model : builtInModels()) {
            std::cout << model.name << "\t" << model.summary << "\n";
        }
        return 0;
    }
    std::string textfileProblem;
    if (options.prometheusTextfile) {
        textfileProblem = textfileFolderProblem(*options.prometheusTextfile);
    }
    // The benchmark on the command line runs without the window.
    FrontEnd frontEnd = options.bench && options.frontEnd == FrontEnd::Window ? FrontEnd::Console
                                                                              : options.frontEnd;
    if (!textfileProblem.empty() && frontEnd != FrontEnd::Window) {
        std::cerr << edition.programName << ": --prometheus-textfile: " << textfileProblem << "\n";
        return exitCode(ExitStatus::Usage);
    }
    // Before any thread exists, so that every thread leaves these signals to the handler.
    installStopSignals();
    Platform platform;
    if (options.simulate) {
        SimulatedMachineLoad load = loadSimulatedMachine(*options.simulate);
        if (!load.error.empty()) {
            std::cerr << edition.programName << ": " << load.error << "\n";
            return exitCode(ExitStatus::Usage);
        }
        platform = std::move(load.platform);
    } else {
        platform = makeLinuxPlatform();
    }
    std::cerr << edition.programName << ": settings file " << settingsFileText(settingsFile)
              << "\n";
    if (frontEnd == FrontEnd::Window && !windowDisplayAvailable()) {
        std::cerr << edition.programName
                  << ": no display to open the window on; showing the readings as text\n";
        frontEnd = FrontEnd::Console;
    }
    if (frontEnd == FrontEnd::Window) {
        return runWindowFrontEnd(edition, platform,
                                 {.engineSettings = engineSettings(edition, options, settingsFile),
                                  .ticks = options.ticks,
                                  .stopRequested = stopSignalled,
                                  .stopDescriptor = stopSignalDescriptor(),
                                  .startupProblem = textfileProblem},
                                 argc, argv);
    }
    ConsoleDesktop desktop(std::cerr);
    Engine engine(edition, platform, desktop, desktop,
                  engineSettings(edition, options, settingsFile));
    const ConsoleRun run{
        .format = frontEnd == FrontEnd::Json ? ConsoleFormat::Json : ConsoleFormat::Lines,
        .ticks = options.ticks,
        .stopRequested = stopSignalled,
        .wait = waitUnlessStopSignalled,
    };
    return options.bench ? runConsoleBenchmark(engine, run, std::cout, std::cerr)
                         : runConsole(engine, run, std::cout, std::cerr);
}

}  // namespace calidus
