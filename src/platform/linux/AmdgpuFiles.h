#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/AdlLibrary.h"

namespace calidus {

// The adapters of the amdgpu kernel driver, read from its sysfs and hwmon files, which need no
// privilege: one card is one adapter. Stands in for the display library where it is missing.
class AmdgpuFiles : public AdlLibrary {
  public:
    explicit AmdgpuFiles(std::filesystem::path sysRoot = "/sys");

    // At least one card runs on amdgpu.
    bool load() override;
    int create() override;
    int adapterCount(int& count) override;
    // The product name where the driver gives one, else the PCI ids ("1002:73BF").
    int adapterNames(int count, std::vector<std::string>& names) override;
    int adapterId(int adapter, int& id) override;
    int temperature(int adapter, int& millidegrees) override;
    int activity(int adapter, AdlActivity& activity) override;
    void unload() override;

  private:
    struct Card {
        std::filesystem::path device;  // <sys>/class/drm/cardN/device
        std::filesystem::path hwmon;   // its hwmon folder, empty when it has none
        std::string pciId;
    };

    const Card* card(int adapter) const;

    std::filesystem::path sysRoot_;
    std::vector<Card> cards_;
};

}  // namespace calidus
