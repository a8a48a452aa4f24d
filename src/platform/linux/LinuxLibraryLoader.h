#pragma once

#include "platform/LibraryLoader.h"

namespace calidus {

// dlopen with the names resolved at once and kept to the library itself.
class LinuxLibraryLoader : public LibraryLoader {
  public:
    Handle open(const std::string& name) override;
    void* symbol(Handle library, const std::string& name) override;
    void close(Handle library) override;
};

}  // namespace calidus
