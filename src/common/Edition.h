#pragma once

#include <span>
#include <string_view>

namespace calidus {

enum class EditionKind { Standard, XL };

// Every difference between the two programs lives here; each program's main picks one.
struct Edition {
    EditionKind kind;
    std::string_view programName;  // also the base of the settings file name
    std::string_view windowTitle;
    int maxCores;                            // monitored cores
    std::span<const int> monitoredCores;     // core numbers, in the order the cycle reads them
    int coreSlots;                           // per-core entries kept (TjMax, Idle, samples)
    int highestLogicalProcessor;             // loops "over every logical processor" end here
    bool orsThreadsIntoCore;                 // core map: every thread joins its core's mask
    bool apicIdTextHasBlanks;

    bool isXL() const { return kind == EditionKind::XL; }

    static const Edition& standard();
    static const Edition& xl();
};

}  // namespace calidus
