#pragma once

#include <string>
#include <vector>

namespace calidus {

// Runs a helper program to its end and gives its exit status (negative when it could not start).
class CommandRunner {
public:
    virtual ~CommandRunner() = default;

    virtual int run(const std::vector<std::string>& argv) = 0;
};

}  // namespace calidus
