#pragma once

#include "platform/Shell.h"
#include "platform/linux/RunAs.h"

namespace calidus {

// xdg-open, started detached and never as root (decideRunAs); Linux window managers draw no
// invisible borders.
class LinuxShell : public Shell {
  public:
    LinuxShell();
    explicit LinuxShell(const ProcessIdentity& identity);

    ShellOpen open(const std::string& target) override;
    bool compositionWithInvisibleBorders() const override { return false; }

  private:
    RunAs runAs_;
};

}  // namespace calidus
