#pragma once

#include <string_view>
#include <vector>

#include "config/LiveSettings.h"
#include "view/TrayIcons.h"
#include "view/TrayWindow.h"

namespace calidus {

enum class TrayCommand {
    CoreTemperature,
    DistanceToTjMax,
    Current,
    Minimum,
    Maximum,
    Average,
    ResetStatistics,
    RedrawIcons,
    MoveToTopRight,
    Minimize,
    Restore,
    Exit,
    History,
};

struct TrayMenuItem {
    bool separator = false;
    TrayCommand command = TrayCommand::Exit;
    std::string_view text;
    bool checked = false;
};

// The menu every tray icon shares, and what a click or a double-click on an icon does.
class TrayMenu {
  public:
    TrayMenu(LiveSettings& settings, TrayIcons& icons, TrayWindow& window);

    // Built when the menu opens: checks and the Minimize/Restore items follow the state.
    std::vector<TrayMenuItem> items() const;
    // A value-kind change shows at the next tick.
    void run(TrayCommand command);
    // Double-click on an icon: minimizes a restored window, restores any other.
    void doubleClick();

  private:
    LiveSettings& settings_;
    TrayIcons& icons_;
    TrayWindow& window_;
};

}  // namespace calidus
