#pragma once

#include "config/IconShow.h"

namespace calidus {

// How the engine reaches the tray icons.
class TrayPort {
  public:
    virtual ~TrayPort() = default;

    // First tick: adds the icons of the IconShow mask and answers the mask of those the
    // tray took. Shutdown removes the icons of the mask.
    virtual IconShow addTrayIcons(IconShow iconShow) = 0;
    virtual void removeTrayIcons(IconShow iconShow) = 0;
    // Every tick, after the temperatures and alarms: redraw the icons and their tooltips.
    virtual void refreshTray() = 0;
};

}  // namespace calidus
