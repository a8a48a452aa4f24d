#include "app/ConsoleFrontEnd.h"

#include <csignal>
#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "app/ConsoleDesktop.h"
#include "app/EngineRig.h"
#include "app/StopSignal.h"
#include "platform/sim/SimulatedPlatform.h"

namespace calidus {
namespace {

using json = nlohmann::ordered_json;
using testing::buildMachine;
using testing::FakeMachine;
using testing::kClockModulation;

struct ConsoleRig {
    explicit ConsoleRig(const Edition& edition, Platform& platform, EngineSettings settings = {})
        : engine(edition, platform, desktop, std::move(settings)) {}

    ConsoleRun run(ConsoleFormat format, std::optional<long long> ticks) {
        return {.format = format,
                .ticks = ticks,
                .stopRequested = [this] { return stop; },
                .sleep = [this](std::chrono::milliseconds d) { slept.push_back(d.count()); }};
    }
    std::vector<json> jsonLines() const {
        std::vector<json> lines;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);) {
            lines.push_back(json::parse(line));
        }
        return lines;
    }

    std::ostringstream out;
    std::ostringstream errors;
    ConsoleDesktop desktop{errors};
    Engine engine;
    bool stop = false;
    std::vector<long long> slept;
};

TEST(ConsoleFrontEnd, JsonPrintsOneObjectPerTickWithTheWindowsTexts) {
    FakeMachine machine;
    buildMachine(machine, Edition::standard());
    machine.setMsr(6, 0x19C, 0x88390003);  // core 3: reading 57 at the limit, logged
    Platform platform = testing::makeFakePlatform(machine);
    EngineSettings settings;
    settings.refreshInterval = 250;
    ConsoleRig rig(Edition::standard(), platform, settings);

    EXPECT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Json, 3), rig.out), 0);
    const std::vector<json> lines = rig.jsonLines();
    ASSERT_EQ(lines.size(), 3u);
    json last = lines[2];
    const json core3 = last["cores"][3];
    EXPECT_EQ(last["cores"].size(), 4u);
    last.erase("cores");
    EXPECT_EQ(
        last.dump(),  // key order included
        json({{"tick", 3},
              {"time", "22:13:20"},
              {"model", "-----"},
              {"unit", "\u00B0C"},
              {"heading", "Temperature (\u00B0C)"},
              {"statusCaption", "Thermal Status"},
              {"title", "45\u00B0C 45\u00B0C 45\u00B0C 43\u00B0C"},
              {"tooltip",
               "Core 0:  45\u00B0C\nCore 1:  45\u00B0C\nCore 2:  45\u00B0C\nCore 3:  43\u00B0C"}})
            .dump());
    EXPECT_EQ(core3.dump(), json({{"core", 3},
                                  {"temperature", "43"},
                                  {"distance", "57"},
                                  {"min", "43\u00B0C"},
                                  {"minTime", "22:13:20"},
                                  {"max", "43\u00B0C"},
                                  {"maxTime", "22:13:20"},
                                  {"status", "HOT"}})
                                .dump());
    long long waited = 0;
    for (const long long step : rig.slept) {
        waited += step;
    }
    EXPECT_EQ(waited, 125 + 250 + 250);
    EXPECT_TRUE(machine.stopped);
    EXPECT_EQ(machine.getMsr(0, kClockModulation), 0u);
    EXPECT_TRUE(rig.errors.str().empty());
}

TEST(ConsoleFrontEnd, LinesNameEveryCoreAndAStopEndsTheRunThroughShutdown) {
    FakeMachine machine;
    buildMachine(machine, Edition::standard());
    Platform platform = testing::makeFakePlatform(machine);
    ConsoleRig rig(Edition::standard(), platform);
    ConsoleRun run = rig.run(ConsoleFormat::Lines, std::nullopt);
    run.sleep = [&](std::chrono::milliseconds) { rig.stop = rig.engine.state().tickCount == 2; };

    EXPECT_EQ(runConsole(rig.engine, run, rig.out), 0);
    EXPECT_EQ(rig.engine.state().tickCount, 2u);
    EXPECT_TRUE(machine.stopped);
    const std::string text = rig.out.str();
    EXPECT_NE(text.find("Tick 2 at 22:13:20  -----  Temperature (\u00B0C)  Thermal Status\n"),
              std::string::npos);
    EXPECT_NE(text.find("  Core 3:  45\u00B0C  distance 55  min 45\u00B0C at 22:13:20  max "
                        "45\u00B0C at 22:13:20  OK\n"),
              std::string::npos);
}

TEST(ConsoleFrontEnd, AFailedStartPrintsTheMessageAndExitsWithOne) {
    FakeMachine machine;
    buildMachine(machine, Edition::xl());
    machine.driverStatus = 2;
    Platform platform = testing::makeFakePlatform(machine);
    ConsoleRig rig(Edition::xl(), platform);
    EXPECT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Json, 3), rig.out), 1);
    EXPECT_EQ(rig.errors.str(), "Driver Not Loaded\nTry Run as Administrator.\n");
    EXPECT_TRUE(rig.out.str().empty());
    EXPECT_TRUE(rig.slept.empty());
}

TEST(ConsoleFrontEnd, SimulatedMachinesOfBothEditionsRunToTheEnd) {
    struct Case {
        const Edition* edition;
        std::string model;
        std::vector<int> cores;
    };
    const Case cases[] = {
        {&Edition::standard(), "i7-920", {0, 1, 2, 3}},
        {&Edition::xl(), "i7-980x", {0, 1, 2, 4, 5, 6}},
    };
    for (const Case& c : cases) {
        SimulatedMachineLoad load = loadSimulatedMachine(c.model);
        ASSERT_TRUE(load.error.empty()) << load.error;
        ConsoleRig rig(*c.edition, load.platform);
        EXPECT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Json, 3), rig.out), 0);
        const std::vector<json> lines = rig.jsonLines();
        ASSERT_EQ(lines.size(), 3u);
        std::vector<int> cores;
        for (const json& core : lines[2]["cores"]) {
            cores.push_back(core["core"]);
            EXPECT_FALSE(core["temperature"].get<std::string>().empty());
        }
        EXPECT_EQ(cores, c.cores) << c.model;
    }
}

TEST(StopSignal, InterruptAndTerminateAskForTheStop) {
    installStopSignals();
    EXPECT_FALSE(stopSignalled());
    std::raise(SIGTERM);
    EXPECT_TRUE(stopSignalled());
}

}  // namespace
}  // namespace calidus
