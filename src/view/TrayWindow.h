#pragma once

#include "view/ScreenRect.h"

namespace calidus {

// What the tray asks of the main window.
class TrayWindow {
  public:
    virtual ~TrayWindow() = default;

    virtual bool isVisible() const = 0;
    virtual bool isRestored() const = 0;  // the last size event was not a minimize
    virtual void minimize() = 0;
    // The window's own context-menu "Minimize": also hides a minimized window that has a
    // task-bar button.
    virtual void minimizeFromMenu() = 0;
    // Allows showing, restores the window and brings it to the foreground.
    virtual void restore() = 0;
    // Restores, then puts the window in the top-right corner of its monitor's work area, or
    // leaves it where it was when that would be off-screen (see topRightTarget).
    virtual void moveToTopRight() = 0;
    virtual void resetStatistics() = 0;
    virtual void quit() = 0;
    // Opens the History window, or brings it forward.
    virtual void openHistory() = 0;
};

// The rectangle whose top-right corner meets the work area's; a composed normal window has
// invisible borders, so it goes 5 pixels further in.
ScreenRect topRightTarget(const ScreenRect& window, const ScreenRect& workArea, bool miniActive,
                          DesktopTraits desktop);

}  // namespace calidus
