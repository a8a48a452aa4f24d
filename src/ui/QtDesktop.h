#pragma once

#include <cstdint>
#include <functional>

#include "app/DesktopPort.h"

namespace calidus {

class MainWindow;

// The tray icons' part of the desktop port, supplied by the tray.
struct TrayCalls {
    std::function<std::uint32_t(std::uint32_t iconShow)> add;
    std::function<void(std::uint32_t iconShow)> remove;
    std::function<void()> refresh;
};

// The engine's desktop effects on Qt: message boxes, the main window and the tray.
class QtDesktop : public DesktopPort {
  public:
    // The window comes after the engine, whose settings it shows; attach it before start.
    void attach(MainWindow& window) { window_ = &window; }

    void setTrayCalls(TrayCalls calls) { tray_ = std::move(calls); }

    void showMessage(const std::string& caption, const std::string& text,
                     MessageIcon icon) override;
    std::uint32_t addTrayIcons(std::uint32_t iconShow) override;
    void removeTrayIcons(std::uint32_t iconShow) override;
    void refreshTray() override;
    void placeWindow() override;
    void enterMiniMode() override;
    void minimizeWindow() override;
    void refreshWindow() override;
    void playSound(const std::string& file) override;
    WindowPositionAtExit windowPositionAtExit() override;

  private:
    MainWindow* window_ = nullptr;
    TrayCalls tray_;
};

}  // namespace calidus
