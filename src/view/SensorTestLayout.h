#pragma once

#include <array>
#include <string>
#include <vector>

#include "common/Edition.h"
#include "tools/SensorTest.h"
#include "view/ScreenRect.h"

namespace calidus {

// The control ids of the Sensor Test window, one entry per core column.
struct SensorTestControls {
    std::vector<std::string> columnLabels;
    std::array<std::string, kSensorTestRows> rowLabels;  // how each row runs
    std::vector<int> movement;
    std::array<std::vector<int>, kSensorTestRows> rows;
    std::array<int, kSensorTestRows> loads;
    int status = 1141;
    int start = 1120;
    int stop = 1121;
    int download = 1122;
};

const SensorTestControls& sensorTestControls(const Edition& edition);

// Beside the main window with the top edges level: on the side with more room on the screen,
// a further 10 pixels away under composition. Answers the window's top-left.
ScreenPoint sensorTestPosition(const ScreenRect& mainWindow, int width, int screenWidth,
                               bool composition);

}  // namespace calidus
