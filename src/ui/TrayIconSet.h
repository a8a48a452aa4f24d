#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "app/TrayPort.h"
#include "common/Edition.h"
#include "config/LiveSettings.h"
#include "cpu/RunConfiguration.h"
#include "measure/MonitorState.h"
#include "ui/MainWindow.h"
#include "ui/TrayIconHost.h"
#include "view/DisplayTexts.h"
#include "view/TrayIcons.h"
#include "view/TrayMenu.h"

namespace calidus {

// The whole tray of the window program: the icons' rules over the Qt host, and the shared menu
// acting on the main window.
class TrayIconSet : public TrayPort {
  public:
    using Sleep = TrayIcons::Sleep;

    TrayIconSet(const Edition& edition, LiveSettings& settings, const MonitorState& state,
                const RunConfiguration& config, const DisplayTexts& texts, TrayWindow& window,
                Sleep sleep);

    IconShow addTrayIcons(IconShow iconShow) override;
    // The live mask: the menu and the Settings window change it after the first tick.
    void removeTrayIcons(IconShow iconShow) override;
    void refreshTray() override { icons_.updateTrayIcons(); }

    // The window's link for its size events.
    TrayLink link();

    // For the Settings window's "Show Icon" boxes and its full redraws.
    TrayIcons& icons() { return icons_; }
    TrayIconHost& host() { return host_; }

  private:
    LiveSettings& settings_;
    TrayIconHost host_;
    TrayIcons icons_;
    TrayMenu menu_;
};

}  // namespace calidus
