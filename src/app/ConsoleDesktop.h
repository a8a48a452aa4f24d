#pragma once

#include <ostream>

#include "app/TrayPort.h"
#include "app/WindowPort.h"

namespace calidus {

// The console has no desktop: messages go to the error stream and the rest is left alone.
class ConsoleDesktop : public WindowPort, public TrayPort {
  public:
    explicit ConsoleDesktop(std::ostream& errors) : errors_(errors) {}

    void showMessage(const std::string& caption, const std::string& text,
                     MessageIcon icon) override;
    void placeWindow() override {}
    void enterMiniMode() override {}
    void minimizeWindow() override {}
    void refreshWindow() override {}
    void reportProblem(const std::string& text) override { errors_ << text << std::endl; }
    // No window to bring up: the person reading the output is told once per latch instead.
    void restoreWindow() override;
    void flashWindow() override {}

    // Every icon the engine asks for counts as shown, so a console run keeps the person's set.
    IconShow addTrayIcons(IconShow iconShow) override { return iconShow; }
    void removeTrayIcons(IconShow) override {}
    void refreshTray() override {}

  private:
    std::ostream& errors_;
};

}  // namespace calidus
