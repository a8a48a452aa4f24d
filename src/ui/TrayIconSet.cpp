#include "ui/TrayIconSet.h"

#include <utility>

namespace calidus {

TrayIconSet::TrayIconSet(const Edition& edition, Settings& settings, const MonitorState& state,
                         const RunConfiguration& config, const DisplayTexts& texts,
                         TrayWindow& window, Sleep sleep)
    : settings_(settings),
      host_(edition, settings),
      icons_(edition, host_, state, config, texts, settings, std::move(sleep)),
      menu_(settings, icons_, window) {
    host_.setMenu(&menu_);
}

std::uint32_t TrayIconSet::addTrayIcons(std::uint32_t iconShow) {
    settings_.iconShow = static_cast<int>(iconShow);
    return icons_.addTrayIcons();
}

void TrayIconSet::removeTrayIcons(std::uint32_t) {
    icons_.removeTrayIcons(static_cast<std::uint32_t>(settings_.iconShow));
}

TrayLink TrayIconSet::link() {
    return TrayLink{
        .touchFirstIcon = [this] { return icons_.firstIconAlive(); },
        .available = [this] { return host_.available(); },
    };
}

}  // namespace calidus
