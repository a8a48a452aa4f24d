#pragma once

#include <optional>

#include "view/ScreenRect.h"

namespace calidus {

// Whether the window may show itself at start: a program started minimized with neither the
// compact form nor a task-bar button lives only in the tray, when there is one.
bool allowShowAtStart(bool startMinimized, bool miniMode, bool taskBar, bool trayExists);

enum class CloseAction { Minimize, Exit };
CloseAction closeAction(bool minimizeOnClose);

enum class MinimizeAction { Minimize, Hide, Nothing };
// The "Minimize" menu item: a restored window is minimized, a minimized one with a task-bar
// button is hidden.
MinimizeAction minimizeMenuAction(bool restored, bool taskBar);

// A minimized window without a task-bar button goes to the tray, when there is one.
bool hideOnMinimize(bool taskBar, bool trayExists);

// The narrowest message box whose title bar shows its whole caption: the caption's width in the
// title font and room for the window manager's icon and buttons, some lines tall each.
int messageBoxWidthForCaption(int captionWidth, int lineHeight);

// Restored, minimized, or hidden in the tray, as the window itself knows it. A window manager
// reports the state of a withdrawn window late, and as restored once it has forgotten it, so a
// report that arrives while the window is hidden changes nothing.
class ShowState {
  public:
    bool restored() const { return shape_ == Shape::Restored; }
    bool hidden() const { return shape_ == Shape::Hidden; }
    // A size event from the desktop. Answers false when it came while hidden and is ignored.
    bool reported(bool minimized);
    void hiddenToTray() { shape_ = Shape::Hidden; }
    void restoredByRequest() { shape_ = Shape::Restored; }

  private:
    enum class Shape { Restored, Minimized, Hidden };
    Shape shape_ = Shape::Restored;
};

// The per-tick record of the window's rectangle and the on-top state applied to it.
class PlacementRecorder {
  public:
    struct Outcome {
        std::optional<bool> applyOnTop;     // set the z-order to this
        bool showTemperatureTitle = false;  // minimized: the title carries the temperatures
    };

    // `window` is the window's rectangle; a minimized window passes an empty one.
    Outcome record(const ScreenRect& window, bool onTop);

    bool known() const { return recorded_.has_value(); }
    ScreenRect rect() const { return recorded_.value_or(ScreenRect{}); }

  private:
    std::optional<ScreenRect> recorded_;
    bool appliedOnTop_ = false;
};

}  // namespace calidus
