#pragma once

#include <string>

namespace calidus {

// The desktop shell: web addresses and documents, and what the desktop does to window frames.
class Shell {
  public:
    virtual ~Shell() = default;

    // Opens the address in the user's browser (or a document in its program); the outcome is
    // not reported.
    virtual void open(const std::string& address) = 0;

    // Composition that draws invisible resize borders around every window.
    virtual bool compositionWithInvisibleBorders() const = 0;
};

}  // namespace calidus
