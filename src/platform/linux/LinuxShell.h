#pragma once

#include "platform/Shell.h"

namespace calidus {

// xdg-open for addresses; Linux window managers draw no invisible borders.
class LinuxShell : public Shell {
  public:
    void open(const std::string& address) override;
    bool compositionWithInvisibleBorders() const override { return false; }
};

}  // namespace calidus
