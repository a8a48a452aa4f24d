#include "view/AtiInfoView.h"

#include <algorithm>

#include "common/Text.h"
#include "measure/TemperatureUnits.h"

namespace calidus {

namespace {

constexpr int kShortestPeriod = 1;
constexpr int kLongestPeriod = 3600;

std::string withoutSeries(std::string name) {
    constexpr std::string_view kSeries = " Series";
    for (std::size_t at = name.find(kSeries); at != std::string::npos;
         at = name.find(kSeries, at)) {
        name.erase(at, kSeries.size());
    }
    return name;
}

int secondOfDay(Clock& clock) {
    const std::tm local = clock.localTime(clock.now());
    return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

}  // namespace

int correctedReadPeriod(std::string_view text) {
    text = trimBlanks(text);
    long long seconds = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9') {
            return kShortestPeriod;
        }
        seconds = std::min<long long>(seconds * 10 + (digit - '0'), kLongestPeriod + 1);
    }
    return static_cast<int>(std::clamp<long long>(seconds, kShortestPeriod, kLongestPeriod));
}

AtiInfoView::AtiInfoView(LiveSettings& settings, Clock& clock)
    : settings_(settings), clock_(clock) {}

void AtiInfoView::open(const AtiSensor& sensor) {
    gpuNumber_ = 1;
    adapter_ = 0;
    for (int adapter = 0; adapter < sensor.adapterCount(); ++adapter) {
        if (sensor.answered(adapter)) {
            adapter_ = adapter;
            break;
        }
    }
    texts_.adapterName = withoutSeries(sensor.adapterName(adapter_));
    makeCaptions();
    texts_.gpuButton = sensor.adapterCount() < 2 ? "OK" : "GPU 1";
    period_ = settings_->pollInterval;
    frozen_ = settings_->disableSensor;
    texts_.period = std::to_string(period_);
    // What the source has is shown at once, not at the next multiple of the period.
    refreshNow_ = true;
    refresh(sensor);
}

void AtiInfoView::makeCaptions() {
    captionUnit_ = degreeString(settings_->fahrenheit, settings_->degreeSymbolString);
    texts_.minimumCaption = gpuInfoCaption("Minimum", captionUnit_);
    texts_.maximumCaption = gpuInfoCaption("Maximum", captionUnit_);
    texts_.temperatureCaption = gpuInfoCaption("Temperature", captionUnit_);
}

void AtiInfoView::refresh(const AtiSensor& sensor) {
    if (frozen_) {
        return;
    }
    if (period_ == 1) {
        refreshNow_ = true;
    } else if (!refreshNow_ && secondOfDay(clock_) % period_ != 0) {
        return;
    }
    if (degreeString(settings_->fahrenheit, settings_->degreeSymbolString) != captionUnit_) {
        makeCaptions();
    }
    clearActivity();
    const GpuExtremes& extremes = sensor.extremes(adapter_);
    if (!extremes.hasMinimum()) {
        return;
    }
    const bool fahrenheit = settings_->fahrenheit;
    texts_.minimum = {gpuInfoDate(clock_, extremes.minTime), gpuInfoTime(clock_, extremes.minTime),
                      std::to_string(gpuInfoDegrees(extremes.minTemp, fahrenheit))};
    texts_.maximum = {gpuInfoDate(clock_, extremes.maxTime), gpuInfoTime(clock_, extremes.maxTime),
                      std::to_string(gpuInfoDegrees(extremes.maxTemp, fahrenheit))};
    const int temperature = sensor.temperature(adapter_);
    if (temperature == AtiSensor::kNotRead) {
        texts_.temperature.clear();
        return;
    }
    texts_.temperature = std::to_string(gpuInfoDegrees(temperature, fahrenheit));
    AdlActivity activity;
    if (sensor.activity(adapter_, activity)) {
        texts_.coreClock = std::to_string(activity.engineClock / 100) + " MHz";
        texts_.memoryClock = std::to_string(activity.memoryClock / 100) + " MHz";
        texts_.voltage = fixedText(activity.vddc * 0.001, 3) + " V";
        texts_.linkWidth = "x " + std::to_string(activity.currentBusLanes);
    }
    refreshNow_ = false;
}

bool AtiInfoView::stepGpu(AtiSensor& sensor) {
    const int count = sensor.adapterCount();
    if (count < 2) {
        return false;
    }
    const int before = gpuNumber_;
    ++gpuNumber_;
    const int start = adapter_;
    do {
        if (++adapter_ >= count) {
            adapter_ = 0;
            gpuNumber_ = 1;
        }
    } while (!sensor.answered(adapter_) && adapter_ != start);
    texts_.gpuButton = "GPU " + std::to_string(gpuNumber_);
    texts_.adapterName = withoutSeries(sensor.adapterName(adapter_));
    if (gpuNumber_ != before) {
        clearReadings();
    }
    sensor.readAtOnce();
    refreshNow_ = true;
    refresh(sensor);
    return true;
}

void AtiInfoView::setFrozen(AtiSensor& sensor, bool frozen) {
    frozen_ = frozen;
    settings_.set(KeyId::DisableSensor, frozen ? 1 : 0);
    if (frozen) {
        texts_.temperature.clear();
        clearActivity();
        return;
    }
    refreshNow_ = true;
    sensor.readAtOnce();
}

void AtiInfoView::periodEdited(std::string_view text) {
    period_ = correctedReadPeriod(text);
    texts_.period = std::to_string(period_);
    settings_.set(KeyId::PollInterval, period_);
}

void AtiInfoView::reset(AtiSensor& sensor) {
    sensor.reset(clock_.now());
    clearReadings();
    refreshNow_ = true;
}

void AtiInfoView::clearReadings() {
    texts_.minimum.clear();
    texts_.maximum.clear();
    texts_.temperature.clear();
    clearActivity();
}

void AtiInfoView::clearActivity() {
    texts_.coreClock.clear();
    texts_.memoryClock.clear();
    texts_.voltage.clear();
    texts_.linkWidth.clear();
}

}  // namespace calidus
