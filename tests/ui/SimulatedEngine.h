#pragma once

// An engine on a built-in simulated machine whose clock and sleeps are the fake host's, so
// start-up waits for nothing.

#include <string>

#include "app/Engine.h"
#include "support/SimulatedHost.h"

namespace calidus::testing {

// The i7-920 for the standard edition, the six-core i7-980X for the XL edition.
inline std::string modelFor(const Edition& edition) {
    return edition.isXL() ? "i7-980x" : "i7-920";
}

}  // namespace calidus::testing
