#pragma once

#include <string_view>

#include "common/Edition.h"

namespace calidus {

// Control ids of the "ATI Info" window.
struct AtiInfoIds {
    int adapterName;
    int minimumBox;
    int minimumDate;
    int minimumTime;
    int minimumValue;
    int maximumBox;
    int maximumDate;
    int maximumTime;
    int maximumValue;
    int temperatureLabel;
    int temperature;
    int coreClock;
    int memoryClock;
    int voltage;
    int linkWidth;
    int period;
    int freeze;
    int gpuButton;
    std::string_view periodLabel;
    bool okAndCancel;  // the window also carries "OK" and "Cancel"
};

// Control ids of the "NVIDIA Information" window.
struct NvidiaInfoIds {
    int name;
    int driverVersion;
    int linkWidth;
    int memory;
    int minimumBox;
    int minimumDate;
    int minimumTime;
    int minimumValue;
    int maximumBox;
    int maximumDate;
    int maximumTime;
    int maximumValue;
    int gpuButton;
    bool captionsFollowUnit;  // the captions are made again on a refresh after a unit change
};

// The right-click menus' command ids.
inline constexpr int kAtiResetCommand = 32785;
inline constexpr int kAtiCloseCommand = 32786;
inline constexpr int kNvidiaResetCommand = 32783;
inline constexpr int kNvidiaCloseCommand = 32784;
inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;

const AtiInfoIds& atiInfoIds(const Edition& edition);
const NvidiaInfoIds& nvidiaInfoIds(const Edition& edition);

}  // namespace calidus
