#include "ui/TrayIconSet.h"

#include <utility>

namespace calidus {

TrayIconSet::TrayIconSet(const Edition& edition, LiveSettings& settings, const MonitorState& state,
                         const RunConfiguration& config, const DisplayTexts& texts,
                         TrayWindow& window, Sleep sleep)
    : settings_(settings),
      host_(edition, *settings),
      icons_(edition, host_, state, config, texts, settings, std::move(sleep)),
      menu_(settings, icons_, window) {
    host_.setMenu(&menu_);
}

IconShow TrayIconSet::addTrayIcons(IconShow iconShow) {
    settings_.setIconShow(iconShow);
    return icons_.addTrayIcons();
}

void TrayIconSet::removeTrayIcons(IconShow) {
    icons_.removeTrayIcons(settings_->iconShow);
}

TrayLink TrayIconSet::link() {
    return TrayLink{
        .touchFirstIcon = [this] { return icons_.firstIconAlive(); },
        .available = [this] { return host_.available(); },
    };
}

}  // namespace calidus
