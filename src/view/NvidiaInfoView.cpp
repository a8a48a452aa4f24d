#include "view/NvidiaInfoView.h"

#include "measure/TemperatureUnits.h"
#include "view/GpuInfoLayout.h"

namespace calidus {

NvidiaInfoView::NvidiaInfoView(const Edition& edition, const Settings& settings, Clock& clock)
    : edition_(edition), settings_(settings), clock_(clock) {}

void NvidiaInfoView::open(const NvidiaSensor& sensor) {
    gpu_ = 0;
    makeCaptions();
    texts_.gpuButton = sensor.gpuCount() < 2 ? "OK" : "GPU 1";
    texts_.driverVersion = sensor.driverVersion();
    showGpu(sensor);
    refresh(sensor);
}

void NvidiaInfoView::makeCaptions() {
    captionUnit_ = degreeString(settings_.fahrenheit, settings_.degreeSymbolString);
    texts_.minimumCaption = gpuInfoCaption("Minimum", captionUnit_);
    texts_.maximumCaption = gpuInfoCaption("Maximum", captionUnit_);
}

void NvidiaInfoView::showGpu(const NvidiaSensor& sensor) {
    texts_.name = sensor.name(gpu_);
    texts_.memory = std::to_string(sensor.memoryMegabytes(gpu_)) + " MB";
}

void NvidiaInfoView::refresh(const NvidiaSensor& sensor) {
    if (nvidiaInfoIds(edition_).captionsFollowUnit &&
        degreeString(settings_.fahrenheit, settings_.degreeSymbolString) != captionUnit_) {
        makeCaptions();
    }
    texts_.linkWidth = "x" + std::to_string(sensor.linkWidth(gpu_));
    const GpuExtremes& extremes = sensor.extremes(gpu_);
    if (!extremes.hasMinimum()) {
        return;
    }
    const bool fahrenheit = settings_.fahrenheit;
    texts_.minimum = {gpuInfoDate(clock_, extremes.minTime), gpuInfoTime(clock_, extremes.minTime),
                      std::to_string(gpuInfoDegrees(extremes.minTemp, fahrenheit))};
    texts_.maximum = {gpuInfoDate(clock_, extremes.maxTime), gpuInfoTime(clock_, extremes.maxTime),
                      std::to_string(gpuInfoDegrees(extremes.maxTemp, fahrenheit))};
}

bool NvidiaInfoView::stepGpu(const NvidiaSensor& sensor) {
    if (sensor.gpuCount() < 2) {
        return false;
    }
    gpu_ = (gpu_ + 1) % sensor.gpuCount();
    texts_.gpuButton = "GPU " + std::to_string(gpu_ + 1);
    showGpu(sensor);
    refresh(sensor);
    return true;
}

void NvidiaInfoView::reset(NvidiaSensor& sensor) {
    sensor.reset(clock_.now());
    texts_.minimum.clear();
    texts_.maximum.clear();
}

}  // namespace calidus
