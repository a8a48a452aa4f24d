#pragma once

#include "platform/LibraryLoader.h"

namespace calidus {

// A simulated machine loads none of the libraries of the machine it runs on: its GPU libraries
// are simulated whole.
class SimLibraryLoader : public LibraryLoader {
  public:
    Handle open(const std::string&) override { return nullptr; }
    void* symbol(Handle, const std::string&) override { return nullptr; }
    void close(Handle) override {}
};

}  // namespace calidus
