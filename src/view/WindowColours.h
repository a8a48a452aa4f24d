#pragma once

#include <optional>

#include "config/Settings.h"

namespace calidus {

// One form's (normal or mini) colour settings.
struct ColourScheme {
    bool custom = false;  // "CustomGUI" / "CustomGUIMini"
    ColourRef background = 0xF4F3EE;
    ColourRef text = 0x000000;
    bool heading = false;  // "NormHeading" / "MiniHeading"
    ColourRef headingColour = 0x000000;
};

// The scheme of the compact or the normal form.
ColourScheme colourScheme(const Settings& settings, bool mini);

// What a control is painted with; empty members keep the default look.
struct ControlColours {
    std::optional<ColourRef> background;
    std::optional<ColourRef> text;
};

// The status bits of one core slot that colour its status field.
struct SlotStatus {
    bool thermalStatus = false;  // the sensor's status bit
    bool logged = false;         // the log bit
};

enum class ControlRole { Value, Heading, HeaderBox, Status };

// Status fields are red or dark red while their slot's log bit is set, over any scheme.
ControlColours controlColours(ControlRole role, const ColourScheme& scheme, SlotStatus status);

constexpr ColourRef kStatusRed = 0x0000FF;
constexpr ColourRef kStatusDarkRed = 0x000080;

}  // namespace calidus
