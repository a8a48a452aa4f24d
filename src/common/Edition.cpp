#include "common/Edition.h"

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
    };
    return edition;
}

}  // namespace calidus
