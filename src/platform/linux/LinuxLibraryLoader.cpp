#include "platform/linux/LinuxLibraryLoader.h"

#include <dlfcn.h>

namespace calidus {

// RTLD_LOCAL: a vendor library's own symbols must not answer for another library's lookups.
LibraryLoader::Handle LinuxLibraryLoader::open(const std::string& name) {
    return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* LinuxLibraryLoader::symbol(Handle library, const std::string& name) {
    return library == nullptr ? nullptr : dlsym(library, name.c_str());
}

void LinuxLibraryLoader::close(Handle library) {
    if (library != nullptr) {
        dlclose(library);
    }
}

}  // namespace calidus
