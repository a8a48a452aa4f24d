#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace calidus {

enum class EditionKind { Standard, XL };

// Which brand-name and TjMax-table rules identify the processor; the rule sets differ in detail.
enum class ModelRules { FourCore, SixCore };

// A temperature in each display unit.
struct UnitTemperature {
    int celsius;
    int fahrenheit;
    int in(bool fahrenheitUnit) const { return fahrenheitUnit ? fahrenheit : celsius; }
};

// How the settings reader corrects the alarm temperatures "Alarm1" (processor) and "Alarm2" (GPU).
struct AlarmRules {
    UnitTemperature defaults;
    UnitTemperature processorCeiling;  // a larger "Alarm1" becomes this
    UnitTemperature gpuCeiling;        // a larger "Alarm2" becomes this
    UnitTemperature gpuWithoutSource;  // "Alarm2" when no GPU source runs (the key is not read)
    bool negativeBecomesCeiling;
};

// Every difference between the two programs lives here; each program's main picks one.
struct Edition {
    EditionKind kind;
    std::string_view programName;  // also the base of the settings file name
    std::string_view windowTitle;
    int maxCores;                         // monitored cores
    std::span<const int> monitoredCores;  // core numbers, in the order the cycle reads them
    int coreSlots;                        // per-core entries kept (TjMax, Idle, samples)
    int highestLogicalProcessor;          // loops "over every logical processor" end here
    bool orsThreadsIntoCore;              // core map: every thread joins its core's mask
    bool apicIdTextHasBlanks;
    bool brandReadPinsProcess;               // the brand is read with the whole process pinned
    bool cpuidLimitClearedAfterClockThread;  // else before the support test
    ModelRules modelRules;
    std::string_view modelTextPrefix;  // put before the model text the window shows
    int trayIconSlots;                 // core slots first, the GPU icon in the last one
    std::string_view gpuTrayTitle;     // first line of the GPU icon's tooltip
    int trayAddRetryMs;                // wait before a failed first add is tried again
    bool trayDropsMissingAtFirstAdd;   // a shown slot without its core or GPU is dropped, not added
    int trayRemoveAttempts;            // per icon at exit
    bool hasSkull;                     // settings keys of the standard edition only
    bool hasOldFormula;
    bool hasRefreshInterval;    // without it the period after the first tick is 1000 ms
    bool hasFontNumberAndBold;  // settings keys the XL edition carries without effect
    AlarmRules alarmRules;
    std::string_view alarmProgramRefusal;  // the message when the chosen alarm program is ours
    std::string_view logTextGpuHeading;    // the GPU column's name in the text log's header
    // The monitoring engine.
    bool hasKillMHz;                       // the clock thread may stop after the fourth tick
    bool timeCriticalMonitoringThread;     // else process and monitoring thread run above normal
    bool timeCriticalWorkerThreads;        // the clock and load threads; else above normal
    bool stopsClockThreadUnconditionally;  // at shutdown, even before it reported running
    int shutdownClockModulation;           // written to every processor at exit
    bool clockModulationKeepsDuty;         // a duty field of 0 is written as 12.5 %
    bool fahrenheitRoundsAwayFromZero;     // else negative values round toward zero
    bool summaryTextsNameCores;            // tooltip lines "Core n:  ", title with unit texts
    // The benchmark's reference block after the base score: the high score, its time and
    // clock, and its holder.
    std::string_view benchmarkHighScore;

    bool isXL() const { return kind == EditionKind::XL; }
    bool monitors(int core) const;

    static const Edition& standard();
    static const Edition& xl();
};

}  // namespace calidus
