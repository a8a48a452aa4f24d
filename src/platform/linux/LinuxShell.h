#pragma once

#include "platform/Shell.h"

namespace calidus {

// xdg-open, started detached and never as root; Linux window managers draw no invisible
// borders.
class LinuxShell : public Shell {
  public:
    ShellOpen open(const std::string& target) override;
    bool compositionWithInvisibleBorders() const override { return false; }
};

}  // namespace calidus
