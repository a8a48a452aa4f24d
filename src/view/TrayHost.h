#pragma once

#include <cstdint>
#include <string>

namespace calidus {

// What a tray entry should show: the program's own icon, or a number drawn in a colour.
struct TrayIconImage {
    bool programIcon = true;
    int value = 0;
    bool threeDigit = false;
    std::uint32_t colour = 0xFFFFFF;  // 0x00BBGGRR

    bool operator==(const TrayIconImage&) const = default;
};

// One slot's notification record: its icon and its tooltip.
struct TrayEntry {
    TrayIconImage image;
    std::string tooltip;

    bool operator==(const TrayEntry&) const = default;
};

// The desktop's notification area, one entry per icon slot. Each call answers whether the
// desktop took it; a modify of an entry that the desktop lost fails.
class TrayHost {
  public:
    virtual ~TrayHost() = default;

    virtual bool add(int slot, const TrayEntry& entry) = 0;
    virtual bool modify(int slot, const TrayEntry& entry) = 0;
    virtual bool remove(int slot) = 0;
};

}  // namespace calidus
