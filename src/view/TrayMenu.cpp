#include "view/TrayMenu.h"

namespace calidus {

TrayMenu::TrayMenu(Settings& settings, TrayIcons& icons, TrayWindow& window)
    : settings_(settings), icons_(icons), window_(window) {}

namespace {

TrayMenuItem item(TrayCommand command, std::string_view text, bool checked = false) {
    return TrayMenuItem{false, command, text, checked};
}

TrayMenuItem separator() {
    return TrayMenuItem{true, TrayCommand::Exit, {}, false};
}

}  // namespace

std::vector<TrayMenuItem> TrayMenu::items() const {
    const auto show = static_cast<std::uint32_t>(settings_.iconShow);
    const bool distance = (show & kIconShowDistance) != 0;
    std::vector<TrayMenuItem> menu{
        item(TrayCommand::CoreTemperature, "Core Temperature", !distance),
        item(TrayCommand::DistanceToTjMax, "Distance to TJ Max", distance),
        separator(),
        item(TrayCommand::Current, "Current", (show & kIconShowValueKind) == 0),
        item(TrayCommand::Minimum, "Minimum", (show & kIconShowMinimum) != 0),
        item(TrayCommand::Maximum, "Maximum", (show & kIconShowMaximum) != 0),
        item(TrayCommand::Average, "Average", (show & kIconShowAverage) != 0),
        separator(),
        item(TrayCommand::ResetStatistics, "Reset (Min/Max)"),
        separator(),
        item(TrayCommand::RedrawIcons, "Redraw Icons"),
        item(TrayCommand::MoveToTopRight, "Move to Top Right"),
        separator(),
    };
    if (window_.isVisible()) {
        menu.push_back(item(TrayCommand::Minimize, "Minimize"));
    }
    if (!window_.isVisible() || !window_.isRestored()) {
        menu.push_back(item(TrayCommand::Restore, "Restore"));
    }
    menu.push_back(item(TrayCommand::Exit, "Exit"));
    return menu;
}

void TrayMenu::setIconShowBits(std::uint32_t clear, std::uint32_t set) {
    const auto mask = static_cast<std::uint32_t>(settings_.iconShow);
    settings_.iconShow = static_cast<int>((mask & ~clear) | set);
}

void TrayMenu::run(TrayCommand command) {
    switch (command) {
        case TrayCommand::CoreTemperature:
            setIconShowBits(kIconShowDistance, 0);
            break;
        case TrayCommand::DistanceToTjMax:
            setIconShowBits(0, kIconShowDistance);
            break;
        case TrayCommand::Current:
            setIconShowBits(kIconShowValueKind, 0);
            break;
        case TrayCommand::Minimum:
            setIconShowBits(kIconShowValueKind, kIconShowMinimum);
            break;
        case TrayCommand::Maximum:
            setIconShowBits(kIconShowValueKind, kIconShowMaximum);
            break;
        case TrayCommand::Average:
            setIconShowBits(kIconShowValueKind, kIconShowAverage);
            break;
        case TrayCommand::ResetStatistics:
            window_.resetStatistics();
            break;
        case TrayCommand::RedrawIcons:
            icons_.redrawTrayIcons();
            break;
        case TrayCommand::MoveToTopRight:
            window_.moveToTopRight();
            break;
        case TrayCommand::Minimize:
            window_.minimizeFromMenu();
            break;
        case TrayCommand::Restore:
            window_.restore();
            break;
        case TrayCommand::Exit:
            window_.quit();
            break;
    }
}

void TrayMenu::doubleClick() {
    if (window_.isRestored()) {
        window_.minimize();
    } else {
        window_.restore();
    }
}

}  // namespace calidus
