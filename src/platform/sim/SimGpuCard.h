#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/sim/MachineDescription.h"

namespace calidus {

// One described card as its library sees it: the temperature script moves on with every read.
class SimGpuCard {
  public:
    explicit SimGpuCard(GpuDescription description) : description_(std::move(description)) {}

    const GpuDescription& description() const { return description_; }
    bool fails(std::string_view call) const {
        return description_.failing.count(std::string(call)) != 0;
    }
    int nextTemperature() {
        const std::vector<int>& script = description_.temperatures;
        const int value = script[std::min(next_, script.size() - 1)];
        next_ = std::min(next_ + 1, script.size());
        return value;
    }

  private:
    GpuDescription description_;
    std::size_t next_ = 0;
};

}  // namespace calidus
