#pragma once

#include <cstdint>
#include <string>

#include "common/Edition.h"
#include "config/Settings.h"
#include "gpu/NvidiaSensor.h"
#include "platform/Clock.h"
#include "view/GpuInfoTexts.h"

namespace calidus {

// Every text of the "NVIDIA Information" window.
struct NvidiaInfoTexts {
    std::string name;
    std::string driverVersion;
    std::string linkWidth;
    std::string memory;
    std::string minimumCaption;
    std::string maximumCaption;
    ExtremeTexts minimum;
    ExtremeTexts maximum;
    std::string gpuButton;
};

// The "NVIDIA Information" window without its widgets. It shows no current temperature.
class NvidiaInfoView {
  public:
    NvidiaInfoView(const Edition& edition, const Settings& settings, Clock& clock);

    void open(const NvidiaSensor& sensor);
    void refresh(const NvidiaSensor& sensor);
    // The next GPU, wrapping; false when the window is to close instead (one GPU or none). The
    // extremes are not emptied: a GPU without a minimum yet keeps showing the last ones.
    bool stepGpu(const NvidiaSensor& sensor);
    void reset(NvidiaSensor& sensor);

    const NvidiaInfoTexts& texts() const { return texts_; }
    std::uint32_t gpu() const { return gpu_; }

  private:
    void makeCaptions();
    void showGpu(const NvidiaSensor& sensor);

    const Edition& edition_;
    const Settings& settings_;
    Clock& clock_;
    NvidiaInfoTexts texts_;
    std::uint32_t gpu_ = 0;
    std::string captionUnit_;
};

}  // namespace calidus
