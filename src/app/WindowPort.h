#pragma once

#include <optional>
#include <string>

#include "config/ScreenPosition.h"
#include "record/AlarmWindow.h"

namespace calidus {

enum class MessageIcon { None, Error, Warning, Information };

// Where the window stood when the run ended, for "WindowXY" and "AnchorXY".
struct WindowPositionAtExit {
    std::optional<ScreenPoint> topLeft;  // once the window recorded its rectangle in a tick
    bool compositionShift = false;       // normal mode with desktop composition: moved by -5, -5
    ScreenPoint anchor;                  // not written while both anchors are (0, 0)
    ScreenPoint previousAnchor;
};

// How the engine reaches the main window. The window front end implements it with Qt; the
// console front end prints messages and leaves everything else alone.
class WindowPort : public AlarmWindow {
  public:
    // A modal message; returns when the person has seen it.
    virtual void showMessage(const std::string& caption, const std::string& text,
                             MessageIcon icon) = 0;

    // First tick: place the window from its saved position, then enter the compact form when
    // it was saved in it, then minimise when the program starts minimised.
    virtual void placeWindow() = 0;
    virtual void enterMiniMode() = 0;
    virtual void minimizeWindow() = 0;
    // End of every tick: the title, the top-most state and every bound field from the engine's
    // texts.
    virtual void refreshWindow() = 0;

    // Something went wrong that the run survives (a settings file that could not be saved):
    // said where the person will find it, never in the way of the shutdown.
    virtual void reportProblem(const std::string& text) = 0;

    // The alarm's restore and flash come from AlarmWindow; its error is a message box.
    void showError(const std::string& caption, const std::string& text) override {
        showMessage(caption, text, MessageIcon::Error);
    }

    // Shutdown, after the last tick. Without a window there is no position to save.
    virtual WindowPositionAtExit windowPositionAtExit() { return {}; }
};

}  // namespace calidus
