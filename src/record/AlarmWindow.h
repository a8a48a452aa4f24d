#pragma once

#include <string>

namespace calidus {

// What the alarm does to the main window.
class AlarmWindow {
  public:
    virtual ~AlarmWindow() = default;

    // As the tray's "Restore": showing allowed, restored and brought to the foreground. Called
    // once when the alarm latches.
    virtual void restoreWindow() = 0;
    // Asks the desktop for the person's attention; every tick with the alarm.
    virtual void flashWindow() = 0;
    // A modal error box over the window.
    virtual void showError(const std::string& caption, const std::string& text) = 0;
};

}  // namespace calidus
