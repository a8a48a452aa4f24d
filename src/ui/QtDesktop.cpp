#include "ui/QtDesktop.h"

#include <QApplication>

#include "ui/MainWindow.h"

namespace calidus {

void QtDesktop::showMessage(const std::string& caption, const std::string& text, MessageIcon icon) {
    window_->showMessage(caption, text, icon);
}

std::uint32_t QtDesktop::addTrayIcons(std::uint32_t iconShow) {
    // Without a tray no icon is taken, and the engine gives the window a task-bar button.
    return tray_.add ? tray_.add(iconShow) : 0;
}

void QtDesktop::removeTrayIcons(std::uint32_t iconShow) {
    if (tray_.remove) {
        tray_.remove(iconShow);
    }
}

void QtDesktop::refreshTray() {
    if (tray_.refresh) {
        tray_.refresh();
    }
}

void QtDesktop::placeWindow() {
    window_->placeFromSavedPosition();
}

void QtDesktop::enterMiniMode() {
    window_->enterSavedMiniMode();
}

void QtDesktop::minimizeWindow() {
    window_->minimize();
}

void QtDesktop::refreshWindow() {
    window_->refreshFromEngine();
}

WindowPositionAtExit QtDesktop::windowPositionAtExit() {
    return window_->positionAtExit();
}

void QtDesktop::playSound(const std::string&) {
    // The alarm sounds come with the sound player; until then the alarm is silent.
    QApplication::beep();
}

}  // namespace calidus
