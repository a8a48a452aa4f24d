#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace calidus {

// Opens nothing: remembers what it was asked to open.
class SimShell : public Shell {
  public:
    ShellOpen open(const std::string& target) override {
        opened_.push_back(target);
        return ShellOpen::Opened;
    }
    bool compositionWithInvisibleBorders() const override { return false; }

    const std::vector<std::string>& opened() const { return opened_; }

  private:
    std::vector<std::string> opened_;
};

}  // namespace calidus
