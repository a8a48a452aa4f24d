#include "measure/MonitorState.h"

namespace calidus {

int averageOf(std::int64_t sum, std::uint64_t ticks) {
    if (ticks == 0) {
        return 0;
    }
    return static_cast<int>(static_cast<double>(sum) / static_cast<double>(ticks) + 0.5);
}

}  // namespace calidus
