#pragma once

#include <filesystem>
#include <string>

#include "platform/AdlLibrary.h"
#include "platform/linux/AdlSharedLibrary.h"
#include "platform/linux/AmdgpuFiles.h"

namespace calidus {

// AMD adapters on Linux: the display library when it is there with every entry point, else
// the amdgpu kernel driver's files.
class LinuxAdlLibrary : public AdlLibrary {
  public:
    LinuxAdlLibrary(LibraryLoader& loader, std::string libraryName = "libatiadlxx.so",
                    std::filesystem::path sysRoot = "/sys");

    bool load() override;
    int create() override;
    int adapterCount(int& count) override;
    int adapterNames(int count, std::vector<std::string>& names) override;
    int adapterId(int adapter, int& id) override;
    int temperature(int adapter, int& millidegrees) override;
    int activity(int adapter, AdlActivity& activity) override;
    void unload() override;

  private:
    AdlSharedLibrary library_;
    AmdgpuFiles files_;
    AdlLibrary* source_ = nullptr;
};

}  // namespace calidus
