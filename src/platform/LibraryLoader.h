#pragma once

#include <string>

namespace calidus {

// Shared libraries loaded at run time: open one by name (or by path), find a symbol in it,
// close it again. Nothing is linked, so a machine without a library only lacks what it gives.
class LibraryLoader {
  public:
    using Handle = void*;

    virtual ~LibraryLoader() = default;

    // nullptr when the library cannot be loaded.
    virtual Handle open(const std::string& name) = 0;
    // nullptr when the library has no such symbol.
    virtual void* symbol(Handle library, const std::string& name) = 0;
    virtual void close(Handle library) = 0;
};

}  // namespace calidus
