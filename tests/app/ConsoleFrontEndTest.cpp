#include "app/ConsoleFrontEnd.h"

#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "app/ConsoleDesktop.h"
#include "app/EngineRig.h"
#include "platform/RegisterAccessProblem.h"
#include "support/WriteRecordingDriver.h"

namespace calidus {
namespace {

using json = nlohmann::ordered_json;
using testing::buildMachine;
using testing::FakeMachine;
using testing::kClockModulation;
using testing::SettingsFolder;

struct ConsoleRig {
    explicit ConsoleRig(const Edition& edition, Platform& platform, std::string_view keys = {})
        : settings(edition),
          engine(edition, platform, desktop, desktop,
                 {.file = settings.file, .logFolder = settings.folder.path(), .soundFolders = {}}) {
        if (!keys.empty()) {
            settings.write(keys);
        }
    }

    ConsoleRun run(ConsoleFormat format, std::optional<long long> ticks) {
        return {.format = format,
                .ticks = ticks,
                .stopRequested = [this] { return stop; },
                .wait = [this](std::chrono::milliseconds d) { slept.push_back(d.count()); }};
    }
    std::vector<json> jsonLines() const {
        std::vector<json> lines;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);) {
            lines.push_back(json::parse(line));
            // Byte for byte the library's compact form of the same object.
            EXPECT_EQ(lines.back().dump(), line);
        }
        return lines;
    }

    std::ostringstream out;
    std::ostringstream errors;
    ConsoleDesktop desktop{errors};
    SettingsFolder settings;
    Engine engine;
    bool stop = false;
    std::vector<long long> slept;
};

TEST(ConsoleFrontEnd, JsonPrintsOneObjectPerTickWithTheWindowsTexts) {
    FakeMachine machine;
    buildMachine(machine, Edition::standard());
    machine.setMsr(6, 0x19C, 0x88390003);  // core 3: reading 57 at the limit, logged
    Platform platform = testing::makeFakePlatform(machine);
    ConsoleRig rig(Edition::standard(), platform, "RefreshInterval=250\n");

    EXPECT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Json, 3), rig.out, rig.errors), 0);
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
              {"model", "Core i7-920"},
              {"cpuid", "106A5"},
              {"source", "registers"},
              {"unit", "\u00B0C"},
              {"heading", "Temperature (\u00B0C)"},
              {"statusCaption", "Thermal Status"},
              {"title", "45\u00B0C 45\u00B0C 45\u00B0C 43\u00B0C"},
              {"tooltip",
               "Core 0:  45\u00B0C\nCore 1:  45\u00B0C\nCore 2:  45\u00B0C\nCore 3:  43\u00B0C"},
              {"alarm", false},
              // No time passed for the clock thread: nothing calibrated, nothing counted.
              {"mhz", nullptr},
              {"clockText", ""},
              {"busText", ""},
              {"runTime", "0:00:00"},
              {"load", 0.0},
              {"loadText", "Load   0.0%"}})
            .dump());
    EXPECT_EQ(core3.dump(), json({{"core", 3},
                                  {"temperature", "43"},
                                  {"distance", "57"},
                                  {"min", "43\u00B0C"},
                                  {"minTime", "22:13:20"},
                                  {"max", "43\u00B0C"},
                                  {"maxTime", "22:13:20"},
                                  {"status", "HOT"},
                                  {"tjMax", 100}})
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

TEST(ConsoleFrontEnd, TheAlarmLatchIsToldOnceAndEveryAlarmTickIsMarked) {
    FakeMachine machine;
    buildMachine(machine, Edition::standard());
    Platform platform = testing::makeFakePlatform(machine);
    ConsoleRig rig(Edition::standard(), platform, "Alarm=1\nAlarm1=45\n");

    EXPECT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Json, 3), rig.out, rig.errors), 0);
    for (const json& line : rig.jsonLines()) {
        EXPECT_EQ(line["alarm"], true);
    }
    EXPECT_EQ(rig.errors.str(), "Alarm: a temperature reached its alarm threshold\n");
}

TEST(ConsoleFrontEnd, LinesNameEveryCoreAndAStopEndsTheRunThroughShutdown) {
    FakeMachine machine;
    buildMachine(machine, Edition::standard());
    Platform platform = testing::makeFakePlatform(machine);
    ConsoleRig rig(Edition::standard(), platform);
    ConsoleRun run = rig.run(ConsoleFormat::Lines, std::nullopt);
    run.wait = [&](std::chrono::milliseconds) { rig.stop = rig.engine.state().tickCount == 2; };

    EXPECT_EQ(runConsole(rig.engine, run, rig.out, rig.errors), 0);
    EXPECT_EQ(rig.engine.state().tickCount, 2u);
    EXPECT_TRUE(machine.stopped);
    const std::string text = rig.out.str();
    EXPECT_NE(text.find("Tick 2 at 22:13:20  Core i7-920  Temperature (\u00B0C)  Thermal Status\n"),
              std::string::npos);
    EXPECT_NE(text.find("  Core 3:  45\u00B0C  TjMax 100  distance 55  min 45\u00B0C at 22:13:20  "
                        "max 45\u00B0C at 22:13:20  OK\n"),
              std::string::npos);

    // The reader goes away (a closed pipe): the run still ends through the shutdown.
    FakeMachine piped;
    buildMachine(piped, Edition::standard());
    Platform pipedPlatform = testing::makeFakePlatform(piped);
    ConsoleRig gone(Edition::standard(), pipedPlatform, "ClockMod=24\n");
    ConsoleRun endless = gone.run(ConsoleFormat::Json, std::nullopt);
    endless.wait = [&](std::chrono::milliseconds) {
        if (gone.engine.state().tickCount == 2) {
            gone.out.setstate(std::ios::badbit);
        }
    };
    EXPECT_EQ(runConsole(gone.engine, endless, gone.out, gone.errors), 5);
    EXPECT_EQ(gone.engine.state().tickCount, 3u);
    EXPECT_TRUE(piped.stopped);
    EXPECT_EQ(piped.getMsr(0, kClockModulation), 0u);
}

TEST(ConsoleFrontEnd, AFailedStartPrintsTheMessageAndExitsWithOne) {
    FakeMachine machine;
    buildMachine(machine, Edition::xl());
    machine.driverStatus = 2;
    Platform platform = testing::makeFakePlatform(machine);
    ConsoleRig rig(Edition::xl(), platform);
    EXPECT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Json, 3), rig.out, rig.errors), 4);
    EXPECT_EQ(rig.errors.str(),
              "Driver Error: Driver Not Loaded\nTry Run as Administrator.\nThe msr devices "
              "refused access to this user: run as root (sudo CalidusXL)\n");
    EXPECT_TRUE(rig.out.str().empty());
    EXPECT_TRUE(rig.slept.empty());
}

TEST(ConsoleFrontEnd, ADriverErrorNamesItselfEvenWithoutAText) {
    FakeMachine machine;
    buildMachine(machine, Edition::standard());
    machine.driverStatus = 6;
    Platform platform = testing::makeFakePlatform(machine);
    ConsoleRig rig(Edition::standard(), platform);
    EXPECT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Lines, 1), rig.out, rig.errors), 4);
    EXPECT_EQ(rig.errors.str(), "Driver Error\n");
}

TEST(ConsoleFrontEnd, DeclinedRegisterAccessSaysWhyAndRefusedWritesAreSaidOnce) {
    struct Case {
        std::string keys;
        int exitCode;
        std::string errors;
    };
    const std::string notAllowed = "Driver Error: Driver Not Loaded\nTry Run as Administrator.\n";
    const Case cases[] = {
        {"Authentication=dismissed\n", 4,
         notAllowed + registerAccessNotice(RegisterAccessProblem::Dismissed) + "\n"},
        {"Authentication=refused\n", 4,
         notAllowed + registerAccessNotice(RegisterAccessProblem::NotAuthorised) + "\n"},
        {"Authentication=granted\n", 0, ""},
        {"WritesLocked=1\n", 0,
         "Calidus: " + registerAccessNotice(RegisterAccessProblem::WritesLocked) + "\n"},
    };
    for (const Case& c : cases) {
        FakeMachine host;
        Platform platform = testing::simulatedPlatform(host, "i7-920", c.keys);
        ConsoleRig rig(Edition::standard(), platform, "ClockMod=24\n");
        EXPECT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Json, 3), rig.out, rig.errors),
                  c.exitCode)
            << c.keys;
        EXPECT_EQ(rig.errors.str(), c.errors) << c.keys;
        EXPECT_EQ(rig.jsonLines().size(), c.exitCode == 0 ? 3u : 0u) << c.keys;
    }
}

TEST(ConsoleFrontEnd, WithoutRegisterAccessTheKernelsSensorsGiveTheSameTemperatures) {
    const std::pair<std::string, std::size_t> cases[] = {{"i7-920", 4}, {"e8400", 2}};
    for (const auto& [model, cores] : cases) {
        std::vector<std::vector<std::string>> temperatures;
        for (const std::string keys : {"", "Authentication=refused\nCoretemp=1\n"}) {
            FakeMachine host;
            Platform platform = testing::simulatedPlatform(host, model, keys);
            ConsoleRig rig(Edition::standard(), platform);
            ASSERT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Json, 3), rig.out, rig.errors),
                      0);
            EXPECT_EQ(rig.engine.texts().modelTooltip, keys.empty() ? "" : kReadOnlySource);
            temperatures.emplace_back();
            for (const json& tick : rig.jsonLines()) {
                EXPECT_EQ(tick["source"], keys.empty() ? "registers" : "coretemp");
                for (const json& core : tick["cores"]) {
                    temperatures.back().push_back(core["temperature"]);
                }
            }
            if (!keys.empty()) {
                EXPECT_EQ(rig.errors.str(),
                          "Calidus: " + registerAccessNotice(RegisterAccessProblem::NotAuthorised) +
                              "\nShowing the kernel's coretemp temperatures, read-only: no clock "
                              "modulation, C1E, EIST, turbo or VID. For everything, allow the "
                              "authentication or run as root.\n");
            }
        }
        EXPECT_EQ(temperatures[0].size(), 3 * cores) << model;
        EXPECT_EQ(temperatures[0], temperatures[1]) << model;
    }

    FakeMachine host;
    Platform platform = testing::simulatedPlatform(host, "i7-920",
                                                   "Authentication=dismissed\n"
                                                   "Coretemp=1\n");
    ConsoleRig rig(Edition::xl(), platform);
    EXPECT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Lines, 1), rig.out, rig.errors), 0);
    EXPECT_TRUE(rig.out.str().starts_with(
        "Read-only: temperatures from the kernel's coretemp sensors\nTick 1"))
        << rig.out.str();
}

// Every register write is logged by the kernel and taints it: a run that only watches writes
// only what measuring needs, and a switch only what changes the processor.
TEST(ConsoleFrontEnd, ARunWritesOnlyTheRegistersThatChange) {
    using testing::AskedWrite;
    const auto each = [](int processors, std::uint32_t index, std::uint32_t low) {
        std::vector<AskedWrite> writes;
        for (int p = 0; p < processors; ++p) {
            writes.push_back({static_cast<std::uint32_t>(p), index, low});
        }
        return writes;
    };
    const auto joined = [](std::vector<AskedWrite> a, const std::vector<AskedWrite>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    // Turbo disengaged for reading the maximum ratio, then put back; the fixed counters enabled.
    const std::vector<AskedWrite> ratioToggle{{0, 0x1A0, 0x850089}, {0, 0x1A0, 0x850089}};
    struct Case {
        std::string model;
        std::string extra;  // added to the description
        std::string keys;
        std::vector<AskedWrite> standard;
        std::vector<AskedWrite> xl;
    };
    const Case cases[] = {
        {"i7-920", "0x38D=0x330\n", "", {}, {}},
        {"i7-920", "0x38D=0x330\n", "ClockMod=6\n", {}, {}},
        {"i7-920", "", "", each(8, 0x38D, 0x330), each(8, 0x38D, 0x330)},
        {"e8400", "", "", joined(ratioToggle, each(2, 0x38D, 0x330)),
         joined(ratioToggle, each(2, 0x38D, 0x330))},
        {"i7-920", "0x38D=0x330\n", "ClockMod=24\n", joined(each(8, 0x19A, 24), each(8, 0x19A, 0)),
         joined(each(8, 0x19A, 24), each(8, 0x19A, 2))},
        {"i7-920-user", "", "ClockMod=24\n", {}, {}},
    };
    for (const Case& c : cases) {
        for (const Edition& edition : {Edition::standard(), Edition::xl()}) {
            FakeMachine host;
            std::vector<AskedWrite> writes;
            Platform platform =
                testing::describedPlatform(host, testing::builtInDescription(c.model) + c.extra);
            platform.driver =
                std::make_unique<testing::WriteRecordingDriver>(std::move(platform.driver), writes);
            ConsoleRig rig(edition, platform, c.keys);
            ASSERT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Json, 10), rig.out, rig.errors),
                      0);
            const std::vector<AskedWrite>& expected =
                edition.highestLogicalProcessor > 8 ? c.xl : c.standard;
            // The 1A0 toggle's first write sets bit 38: compare the low halves only.
            EXPECT_EQ(writes, expected) << c.model << " " << c.extra << c.keys;
            const std::string chosen = c.keys.empty() ? "ClockMod=2\n" : c.keys;
            if (c.model != "i7-920-user") {
                EXPECT_NE(rig.settings.read().find(chosen), std::string::npos)
                    << rig.settings.read();
            }
        }
    }
}

// The XL edition drops the icons of absent cores at the first tick whatever the front end, so
// the file gets what the window would write.
TEST(ConsoleFrontEnd, TheXlEditionSavesOnlyTheIconsOfCoresThatExist) {
    FakeMachine host;
    Platform platform = testing::simulatedPlatform(host, "e8400");
    ConsoleRig rig(Edition::xl(), platform, "IconShow=31\n");
    EXPECT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Json, 1), rig.out, rig.errors), 0);
    EXPECT_NE(rig.settings.read().find("IconShow=3\n"), std::string::npos) << rig.settings.read();
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
        FakeMachine host;
        Platform platform = testing::simulatedPlatform(host, c.model);
        ConsoleRig rig(*c.edition, platform);
        EXPECT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Json, 3), rig.out, rig.errors), 0);
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

TEST(ConsoleFrontEnd, SimulatedModelsShowTheirModelTextAndTjMax) {
    struct Case {
        const Edition* edition;
        std::string model;
        std::string text;
        int tjMax;
    };
    const Case cases[] = {
        {&Edition::standard(), "i7-920", "Core i7-920", 100},  // from MSR 0x1A2
        {&Edition::standard(), "q6600", "Quad Q6600", 100},
        {&Edition::standard(), "t9300", "T9300", 105},
        {&Edition::standard(), "d510", "Atom D510", 100},
        {&Edition::standard(), "xeon-2s", "Xeon E5430", 90},
        {&Edition::standard(), "i7-980x", "Core i7-980X", 100},
        {&Edition::xl(), "i7-980x", "Intel Core i7-980X", 100},
        {&Edition::xl(), "i7-920", "Intel Core i7-920", 100},
        {&Edition::xl(), "e8400", "Intel E8400", 100},
    };
    for (const Case& c : cases) {
        FakeMachine host;
        Platform platform = testing::simulatedPlatform(host, c.model);
        ConsoleRig rig(*c.edition, platform);
        ASSERT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Json, 1), rig.out, rig.errors), 0)
            << c.model;
        const json tick = rig.jsonLines().at(0);
        EXPECT_EQ(tick["model"], c.text) << c.model;
        for (const json& core : tick["cores"]) {
            EXPECT_EQ(core["tjMax"], c.tjMax) << c.model << " core " << core["core"];
        }
    }
}

TEST(ConsoleFrontEnd, BuiltInGpuModelsShowTheirCardAndAMachineWithoutOneShowsNone) {
    struct Case {
        const Edition* edition;
        std::string model;
        std::string keys;
        std::string source;  // empty: no GPU
        std::string adapter;
        std::string iconShowSaved;
    };
    const Case cases[] = {
        {&Edition::standard(), "i7-920-nvidia", "GPU=1\nIconShow=17\n", "nvidia", "GeForce GTX 285",
         "IconShow=17\n"},
        {&Edition::xl(), "q6600-ati", "GPU=2\nIconShow=257\n", "ati", "ATI Radeon HD 4800 Series",
         "IconShow=257\n"},
        {&Edition::standard(), "i7-920", "GPU=3\nIconShow=17\n", "", "", "IconShow=1\n"},
    };
    for (const Case& c : cases) {
        FakeMachine host;
        Platform platform = testing::simulatedPlatform(host, c.model);
        ConsoleRig rig(*c.edition, platform, c.keys + "LogFile=1\nLogInterval=1\nCSV=1\n");
        ASSERT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Json, 4), rig.out, rig.errors), 0)
            << c.model;
        const json tick = rig.jsonLines().at(3);
        EXPECT_NE(rig.settings.read().find(c.iconShowSaved), std::string::npos) << c.model;
        const std::string log = testing::TempFolder::read(rig.settings.folder / "CalidusLog.csv");
        EXPECT_EQ(log.substr(0, log.find('\n')).find("GPU,") != std::string::npos,
                  !c.source.empty())
            << log;
        if (c.source.empty()) {
            EXPECT_FALSE(tick.contains("gpu")) << c.model;
            continue;
        }
        EXPECT_EQ(tick["gpu"], "52") << c.model;
        EXPECT_EQ(tick["gpuButton"], "GPU  52\u00B0C") << c.model;
        ASSERT_EQ(tick["gpuSources"].size(), 1u) << c.model;
        EXPECT_EQ(tick["gpuSources"][0]["source"], c.source);
        EXPECT_EQ(tick["gpuSources"][0]["hottest"], 52);
        ASSERT_EQ(tick["gpuSources"][0]["adapters"].size(), 1u) << c.model;
        EXPECT_EQ(tick["gpuSources"][0]["adapters"][0]["name"], c.adapter);
    }
}

TEST(ConsoleFrontEnd, APhenomIsRefusedWithoutTouchingTheSettingsFile) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        FakeMachine host;
        Platform platform = testing::simulatedPlatform(host, "phenom");
        ConsoleRig rig(*edition, platform);
        EXPECT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Json, 3), rig.out, rig.errors), 3);
        EXPECT_EQ(rig.errors.str(),
                  "Error: The processor detected is not supported.\n\n\nAMD Phenom(tm) 9600 "
                  "Quad-Core Processor\n\n\n" +
                      std::string(edition->programName) +
                      ": the processor's CPUID vendor is \"AuthenticAMD\"; only Intel "
                      "processors (GenuineIntel) can be monitored\n");
        EXPECT_TRUE(rig.out.str().empty());
        EXPECT_FALSE(rig.settings.exists());
    }
}

// The whole road: a hand-made settings file beside the program, a simulated i7-920, two ticks.
TEST(ConsoleFrontEnd, AHandMadeSettingsFileIsAppliedAndGetsTheExitKeys) {
    FakeMachine host;
    Platform platform = testing::simulatedPlatform(host, "i7-920");
    ConsoleRig rig(Edition::standard(), platform,
                   "Spec=" + std::string(testing::kI7_920Brand) +
                       "\nCPUID=0x106A5\nTjMax0=95\nFahrenheit=1\nIconShow=3\nAlarm1=150\n");
    EXPECT_EQ(runConsole(rig.engine, rig.run(ConsoleFormat::Json, 2), rig.out, rig.errors), 0);
    const json tick = rig.jsonLines().at(1);
    EXPECT_EQ(tick["heading"], "Temperature (\u00B0F)");
    EXPECT_EQ(tick["cores"][0]["tjMax"], 95);
    EXPECT_EQ(tick["cores"][1]["tjMax"], 100);
    const int celsius = 95 - std::stoi(tick["cores"][0]["distance"].get<std::string>());
    EXPECT_EQ(tick["cores"][0]["temperature"], std::to_string((celsius * 18 + 5) / 10 + 32));
    EXPECT_EQ(rig.settings.read(),
              "[Calidus]\nSpec=" + std::string(testing::kI7_920Brand) +
                  "\nCPUID=0x106A5\nTjMax0=95\nFahrenheit=1\nIconShow=3\nAlarm1=150\n"
                  "MiniMode=0\nClockMod=2\n");
}

}  // namespace
}  // namespace calidus
