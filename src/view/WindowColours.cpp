#include "view/WindowColours.h"

namespace calidus {

ColourScheme colourScheme(const Settings& settings, bool mini) {
    if (mini) {
        return {settings.customGUIMini, settings.guiMiniColor, settings.guiMiniText,
                settings.miniHeading, settings.guiMiniHead};
    }
    return {settings.customGUI, settings.guiColor, settings.guiText, settings.normHeading,
            settings.guiNormHead};
}

ControlColours controlColours(ControlRole role, const ColourScheme& scheme, SlotStatus status) {
    ControlColours colours;
    if (scheme.custom) {
        colours.background = scheme.background;
        colours.text = scheme.text;
    }
    if (role == ControlRole::Heading && scheme.heading) {
        colours.text = scheme.headingColour;
    }
    if (role == ControlRole::Status && status.logged) {
        colours.text = status.thermalStatus ? kStatusRed : kStatusDarkRed;
    }
    return colours;
}

}  // namespace calidus
