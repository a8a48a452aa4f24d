#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace calidus::testing {

class RecordingShell : public Shell {
  public:
    ShellOpen open(const std::string& target) override {
        opened.push_back(target);
        return ShellOpen::Opened;
    }
    bool compositionWithInvisibleBorders() const override { return false; }

    std::vector<std::string> opened;
};

}  // namespace calidus::testing
