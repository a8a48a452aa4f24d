#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/TrayPort.h"
#include "app/WindowPort.h"
#include "ui/MainWindow.h"

namespace calidus::testing {

// The engine's ports onto a main window made after the engine, with a tray that takes every
// icon asked for, so a window test needs no tray host.
class WindowTestPorts : public WindowPort, public TrayPort {
  public:
    void attach(MainWindow& window) { window_ = &window; }

    void showMessage(const std::string& caption, const std::string& text,
                     MessageIcon icon) override {
        window_->showMessage(caption, text, icon);
    }
    void placeWindow() override { window_->placeFromSavedPosition(); }
    void enterMiniMode() override { window_->enterSavedMiniMode(); }
    void minimizeWindow() override { window_->minimize(); }
    void refreshWindow() override { window_->refreshFromEngine(); }
    void reportProblem(const std::string& text) override { problems.push_back(text); }
    void restoreWindow() override { window_->restore(); }
    void flashWindow() override {}
    WindowPositionAtExit windowPositionAtExit() override { return window_->positionAtExit(); }

    IconShow addTrayIcons(IconShow iconShow) override { return iconShow; }
    void removeTrayIcons(IconShow) override {}
    void refreshTray() override {}

    std::vector<std::string> problems;

  private:
    MainWindow* window_ = nullptr;
};

}  // namespace calidus::testing
