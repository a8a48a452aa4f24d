#pragma once

#include <string>

namespace calidus {

enum class ShellOpen {
    Opened,
    NotFound,  // a file that does not exist
    Failed,    // nothing could open it
    Refused,   // a root run with nobody to open it for (kNotStartedAsRoot)
};

// The desktop shell: web addresses and documents, and what the desktop does to window frames.
class Shell {
  public:
    virtual ~Shell() = default;

    // Opens a web address ("scheme://...", "mailto:...") in the user's browser, or anything else
    // as a file in the program the desktop gives it, and returns at once.
    virtual ShellOpen open(const std::string& target) = 0;

    // Composition that draws invisible resize borders around every window.
    virtual bool compositionWithInvisibleBorders() const = 0;
};

}  // namespace calidus
