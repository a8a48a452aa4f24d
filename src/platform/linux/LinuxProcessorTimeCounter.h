#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ProcessorTimeCounter.h"

namespace calidus {

// Reads the aggregate "cpu" line of <procRoot>/stat; busy time is everything but idle and iowait.
// One thread calls busyPercent.
class LinuxProcessorTimeCounter : public ProcessorTimeCounter {
  public:
    explicit LinuxProcessorTimeCounter(std::string procRoot = "/proc");

    double busyPercent() override;

  private:
    struct Times {
        std::uint64_t total = 0;
        std::uint64_t idle = 0;
    };
    std::optional<Times> readTimes() const;

    std::string statPath_;
    std::optional<Times> previous_;
};

}  // namespace calidus
