#include "common/Edition.h"

#include <algorithm>
#include <array>

namespace calidus {

namespace {
constexpr std::array<int, 4> kStandardCores{0, 1, 2, 3};
constexpr std::array<int, 6> kXlCores{0, 1, 2, 4, 5, 6};
}  // namespace

const Edition& Edition::standard() {
    static const Edition edition{
        .kind = EditionKind::Standard,
        .programName = "Calidus",
        .windowTitle = "Calidus 3.59.6",
        .maxCores = 4,
        .monitoredCores = kStandardCores,
        .coreSlots = 4,
        .highestLogicalProcessor = 7,
        .orsThreadsIntoCore = false,
        .apicIdTextHasBlanks = false,
        .brandReadPinsProcess = false,
        .cpuidLimitClearedAfterClockThread = false,
        .modelRules = ModelRules::FourCore,
        .modelTextPrefix = "",
        .trayIconSlots = 5,
        .gpuTrayTitle = "GPU Temp",
        .trayAddRetryMs = 100,
        .trayDropsMissingAtFirstAdd = false,
        .trayRemoveAttempts = 1,
        .hasSkull = true,
        .hasOldFormula = true,
        .hasRefreshInterval = true,
        .hasFontNumberAndBold = false,
        .alarmRules = {.defaults = {100, 212},
                       .processorCeiling = {100, 212},
                       .gpuCeiling = {105, 221},
                       .gpuWithoutSource = {100, 212},
                       .negativeBecomesCeiling = true},
        .alarmProgramRefusal = "The alarm can not be set to run a new instance of Calidus.\n",
        .logTextGpuHeading = "GPU ",
        .hasKillMHz = true,
        .timeCriticalMonitoringThread = false,
        .timeCriticalWorkerThreads = false,
        .stopsClockThreadUnconditionally = false,
        .shutdownClockModulation = 0,
        .clockModulationKeepsDuty = false,
        .fahrenheitRoundsAwayFromZero = true,
        .summaryTextsNameCores = true,
        .benchmarkHighScore =
            "High Score          2308\n"
            "Time           6.338 secs\n"
            "Xeon     5712.25 MHz\n"
            "Held by the project's liquid-cooled Xeon test bench",
    };
    return edition;
}

const Edition& Edition::xl() {
    static const Edition edition{
        .kind = EditionKind::XL,
        .programName = "CalidusXL",
        .windowTitle = "Calidus XL 3.59",
        .maxCores = 6,
        .monitoredCores = kXlCores,
        .coreSlots = 8,
        .highestLogicalProcessor = 15,
        .orsThreadsIntoCore = true,
        .apicIdTextHasBlanks = true,
        .brandReadPinsProcess = true,
        .cpuidLimitClearedAfterClockThread = true,
        .modelRules = ModelRules::SixCore,
        .modelTextPrefix = "Intel ",
        .trayIconSlots = 9,
        .gpuTrayTitle = "Nvidia GPU",
        .trayAddRetryMs = 125,
        .trayDropsMissingAtFirstAdd = true,
        .trayRemoveAttempts = 2,
        .hasSkull = false,
        .hasOldFormula = false,
        .hasRefreshInterval = false,
        .hasFontNumberAndBold = true,
        .alarmRules = {.defaults = {90, 90},
                       .processorCeiling = {100, 100},
                       .gpuCeiling = {105, 105},
                       .gpuWithoutSource = {100, 100},
                       .negativeBecomesCeiling = false},
        .alarmProgramRefusal = "The alarm can not be set to run a new instance of Calidus.\n\n",
        .logTextGpuHeading = "NV ",
        .hasKillMHz = false,
        .timeCriticalMonitoringThread = true,
        .timeCriticalWorkerThreads = true,
        .stopsClockThreadUnconditionally = true,
        .shutdownClockModulation = 2,
        .clockModulationKeepsDuty = true,
        .fahrenheitRoundsAwayFromZero = false,
        .summaryTextsNameCores = false,
        .benchmarkHighScore =
            "High Score          1976\n"
            "Time           7.404 secs\n"
            "i7 940     4830.28 MHz\n"
            "Held by the project's liquid-cooled i7 940 test bench",
    };
    return edition;
}

bool Edition::monitors(int core) const {
    return std::find(monitoredCores.begin(), monitoredCores.end(), core) != monitoredCores.end();
}

}  // namespace calidus
