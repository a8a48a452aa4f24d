#include "view/TrayMenu.h"

namespace calidus {

TrayMenu::TrayMenu(LiveSettings& settings, TrayIcons& icons, TrayWindow& window)
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
    const IconShow show = settings_->iconShow;
    const bool distance = show.distance();
    std::vector<TrayMenuItem> menu{
        item(TrayCommand::CoreTemperature, "Core Temperature", !distance),
        item(TrayCommand::DistanceToTjMax, "Distance to TJ Max", distance),
        separator(),
        item(TrayCommand::Current, "Current", show.has(IconShow::Value::Current)),
        item(TrayCommand::Minimum, "Minimum", show.has(IconShow::Value::Minimum)),
        item(TrayCommand::Maximum, "Maximum", show.has(IconShow::Value::Maximum)),
        item(TrayCommand::Average, "Average", show.has(IconShow::Value::Average)),
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
    // After the items the window always had, so that none of them moves.
    menu.push_back(separator());
    menu.push_back(item(TrayCommand::History, "History"));
    return menu;
}

void TrayMenu::run(TrayCommand command) {
    const IconShow show = settings_->iconShow;
    switch (command) {
        case TrayCommand::CoreTemperature:
            settings_.setIconShow(show.withDistance(false));
            break;
        case TrayCommand::DistanceToTjMax:
            settings_.setIconShow(show.withDistance(true));
            break;
        case TrayCommand::Current:
            settings_.setIconShow(show.showing(IconShow::Value::Current));
            break;
        case TrayCommand::Minimum:
            settings_.setIconShow(show.showing(IconShow::Value::Minimum));
            break;
        case TrayCommand::Maximum:
            settings_.setIconShow(show.showing(IconShow::Value::Maximum));
            break;
        case TrayCommand::Average:
            settings_.setIconShow(show.showing(IconShow::Value::Average));
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
        case TrayCommand::History:
            window_.openHistory();
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
