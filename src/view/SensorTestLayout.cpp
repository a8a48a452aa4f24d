#include "view/SensorTestLayout.h"

namespace calidus {

namespace {

constexpr int kCompositionGap = 10;

SensorTestControls standardControls() {
    SensorTestControls controls;
    controls.columnLabels = {"Core 0", "Core 1", "Core 2", "Core 3"};
    controls.rowLabels = {"Heat Up", "87.5 %", "75 %",   "62.5 %",      "50 %",
                          "37.5 %",  "25 %",   "12.5 %", "Idle 12.5 %", "Idle"};
    controls.movement = {1001, 1002, 1003, 1004};
    controls.rows = {{
        {1005, 1006, 1007, 1008},
        {1043, 1019, 1020, 1022},
        {1023, 1024, 1025, 1026},
        {1027, 1028, 1029, 1030},
        {1031, 1032, 1033, 1034},
        {1035, 1044, 1123, 1124},
        {1125, 1126, 1127, 1128},
        {1129, 1130, 1131, 1132},
        {1133, 1134, 1135, 1136},
        {1137, 1138, 1139, 1140},
    }};
    controls.loads = {1144, 1145, 1146, 1147, 1148, 1149, 1150, 1151, 1153, 1154};
    return controls;
}

// The standard window's four columns, then two more for cores 5 and 6.
SensorTestControls xlControls() {
    SensorTestControls controls = standardControls();
    controls.columnLabels = {"Core 0", "Core 1", "Core 2", "Core 4", "Core 5", "Core 6"};
    controls.movement.insert(controls.movement.end(), {1160, 1161});
    for (int row = 0; row < kSensorTestRows; ++row) {
        controls.rows[static_cast<std::size_t>(row)].insert(
            controls.rows[static_cast<std::size_t>(row)].end(), {1162 + 2 * row, 1163 + 2 * row});
    }
    return controls;
}

}  // namespace

const SensorTestControls& sensorTestControls(const Edition& edition) {
    static const SensorTestControls standard = standardControls();
    static const SensorTestControls xl = xlControls();
    return edition.isXL() ? xl : standard;
}

ScreenPoint sensorTestPosition(const ScreenRect& mainWindow, int width, int screenWidth,
                               bool composition) {
    const int gap = composition ? kCompositionGap : 0;
    if (screenWidth - mainWindow.right > mainWindow.left) {
        return {mainWindow.right + gap, mainWindow.top};
    }
    return {mainWindow.left - width - gap, mainWindow.top};
}

}  // namespace calidus
