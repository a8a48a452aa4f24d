#pragma once

#include "platform/CommandRunner.h"

namespace calidus {

// Starts the program found on PATH and waits for it.
class LinuxCommandRunner : public CommandRunner {
  public:
    // A program killed by a signal gives 128 + the signal number, as a shell reports it.
    int run(const std::vector<std::string>& argv) override;
};

}  // namespace calidus
