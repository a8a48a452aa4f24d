#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "common/Edition.h"
#include "config/Settings.h"
#include "measure/MonitorState.h"
#include "ui/MainWindow.h"
#include "ui/QtDesktop.h"
#include "ui/TrayIconHost.h"
#include "view/TrayIcons.h"
#include "view/TrayMenu.h"

namespace calidus {

// The whole tray of the window program: the icons' rules over the Qt host, and the shared menu
// acting on the main window. Built once the engine has its MonitorState.
class TrayIconSet {
  public:
    using Sleep = TrayIcons::Sleep;

    TrayIconSet(const Edition& edition, Settings& settings, const MonitorState& state,
                TrayWindow& window, Sleep sleep);

    // The desktop port's tray calls, and the window's link for its size events.
    TrayCalls calls();
    TrayLink link();

    // For the Settings window's "Show Icon" boxes and its full redraws.
    TrayIcons& icons() { return icons_; }

  private:
    Settings& settings_;
    TrayIconHost host_;
    TrayIcons icons_;
    TrayMenu menu_;
};

}  // namespace calidus
