#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace calidus::testing {

class RecordingShell : public Shell {
  public:
    void open(const std::string& address) override { opened.push_back(address); }
    bool compositionWithInvisibleBorders() const override { return false; }

    std::vector<std::string> opened;
};

}  // namespace calidus::testing
