#pragma once

#include <string>

#include "common/Edition.h"
#include "cpu/RunConfiguration.h"
#include "gpu/GpuSources.h"
#include "measure/MonitorState.h"
#include "view/DisplayTexts.h"

namespace calidus {

// The readings of the last tick in the Prometheus text exposition format, in base units
// (degrees Celsius whatever the display unit, hertz, ratios), labelled by core number and
// edition; each running GPU source has its own temperature.
std::string prometheusText(const Edition& edition, const MonitorState& state,
                           const RunConfiguration& config, const DisplayTexts& texts,
                           const GpuSources& gpu);

// The file the node exporter's textfile collector reads: "calidus.prom" or "calidusxl.prom".
std::string prometheusFileName(const Edition& edition);

}  // namespace calidus
