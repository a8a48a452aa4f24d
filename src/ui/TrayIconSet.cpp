#include "ui/TrayIconSet.h"

#include <utility>

namespace calidus {

TrayIconSet::TrayIconSet(const Edition& edition, Settings& settings, const MonitorState& state,
                         TrayWindow& window, Sleep sleep)
    : settings_(settings),
      host_(edition, settings),
      icons_(edition, host_, state, settings, std::move(sleep)),
      menu_(settings, icons_, window) {
    host_.setMenu(&menu_);
}

TrayCalls TrayIconSet::calls() {
    return TrayCalls{
        .add =
            [this](std::uint32_t iconShow) {
                settings_.iconShow = static_cast<int>(iconShow);
                return icons_.addTrayIcons();
            },
        // The live mask: the menu and the Settings window change it after the first tick.
        .remove =
            [this](std::uint32_t) {
                icons_.removeTrayIcons(static_cast<std::uint32_t>(settings_.iconShow));
            },
        .refresh = [this] { icons_.updateTrayIcons(); },
    };
}

TrayLink TrayIconSet::link() {
    return TrayLink{
        .touchFirstIcon = [this] { return icons_.firstIconAlive(); },
        .available = [this] { return host_.available(); },
    };
}

}  // namespace calidus
