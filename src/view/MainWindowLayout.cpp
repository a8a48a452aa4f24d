#include "view/MainWindowLayout.h"

#include <array>

namespace calidus {

namespace {

constexpr int kDialogHeight = 234;

void addGroupBoxes(MainWindowLayout& l, int boxWidth) {
    l.controls.push_back({control::kHeaderBox, ControlKind::GroupBox, {4, 0, boxWidth, 39}, ""});
    l.controls.push_back({control::kTemperatureBox,
                          ControlKind::GroupBox,
                          {4, 43, boxWidth, 29},
                          "Temperature (°C)"});
    l.controls.push_back({control::kDistanceBox,
                          ControlKind::GroupBox,
                          {4, 76, boxWidth, 29},
                          "Distance to TJ Max"});
    l.controls.push_back(
        {control::kMinimumBox, ControlKind::GroupBox, {4, 109, boxWidth, 35}, "Minimum"});
    l.controls.push_back(
        {control::kMaximumBox, ControlKind::GroupBox, {4, 148, boxWidth, 35}, "Maximum"});
    l.controls.push_back(
        {control::kStatusBox, ControlKind::GroupBox, {4, 187, boxWidth, 24}, "Thermal Status"});
}

void addColumn(MainWindowLayout& l, int x, int width, std::size_t column) {
    l.controls.push_back({l.temperature[column], ControlKind::ValueField, {x, 53, width, 15}, ""});
    l.controls.push_back({l.distance[column], ControlKind::ValueField, {x, 86, width, 15}, ""});
    l.controls.push_back({l.minimum[column], ControlKind::CoreField, {x, 119, width, 10}, ""});
    l.controls.push_back({l.minimumTime[column], ControlKind::CoreField, {x, 130, width, 10}, ""});
    l.controls.push_back({l.maximum[column], ControlKind::CoreField, {x, 158, width, 10}, ""});
    l.controls.push_back({l.maximumTime[column], ControlKind::CoreField, {x, 169, width, 10}, ""});
    l.controls.push_back({l.status[column], ControlKind::CoreField, {x, 197, width, 10}, ""});
}

MainWindowLayout standardLayout() {
    MainWindowLayout l{
        .width = 208,
        .height = kDialogHeight,
        .controls = {},
        .temperature = {1001, 1002, 1003, 1004},
        .distance = {1005, 1006, 1007, 1008},
        .minimum = {1019, 1022, 1024, 1026},
        .minimumTime = {1028, 1030, 1032, 1034},
        .maximum = {1020, 1023, 1025, 1027},
        .maximumTime = {1029, 1031, 1033, 1035},
        .status = {1109, 1110, 1111, 1112},
        .signatureAlwaysShown = false,
        .miniClientWidth = 312,
        .miniClientHeight = 123,
    };
    addGroupBoxes(l, 200);
    l.controls.push_back({control::kModel, ControlKind::Field, {8, 9, 60, 12}, ""});
    l.controls.push_back({control::kClock, ControlKind::Field, {73, 9, 60, 12}, ""});
    l.controls.push_back({control::kMultiplier, ControlKind::Field, {138, 9, 60, 12}, ""});
    l.controls.push_back({control::kSignature, ControlKind::Field, {8, 24, 60, 12}, "", true});
    l.controls.push_back({control::kGpuButton, ControlKind::Button, {13, 21, 48, 14}, ""});
    l.controls.push_back({control::kLoad, ControlKind::Field, {73, 24, 60, 12}, ""});
    l.controls.push_back({control::kVid, ControlKind::Field, {138, 24, 60, 12}, ""});
    constexpr std::array<int, 4> kColumnX{9, 58, 107, 156};
    for (std::size_t c = 0; c < kColumnX.size(); ++c) {
        addColumn(l, kColumnX[c], 42, c);
    }
    l.controls.push_back(
        {control::kSensorTest, ControlKind::Button, {5, 216, 48, 14}, "Sensor Test"});
    l.controls.push_back(
        {control::kTovelBench, ControlKind::Button, {55, 216, 48, 14}, "Tovel Bench"});
    l.controls.push_back({control::kReset, ControlKind::Button, {105, 216, 48, 14}, "Reset"});
    l.controls.push_back({control::kSettings, ControlKind::Button, {155, 216, 48, 14}, "Settings"});
    return l;
}

MainWindowLayout xlLayout() {
    MainWindowLayout l{
        .width = 274,
        .height = kDialogHeight,
        .controls = {},
        .temperature = {1187, 1188, 1189, 1190, 1191, 1192},
        .distance = {1193, 1194, 1195, 1197, 1198, 1201},
        .minimum = {1215, 1204, 1205, 1206, 1207, 1208},
        .minimumTime = {1209, 1210, 1211, 1212, 1213, 1214},
        .maximum = {1203, 1216, 1217, 1218, 1219, 1220},
        .maximumTime = {1221, 1222, 1223, 1224, 1225, 1226},
        .status = {1109, 1110, 1111, 1199, 1200, 1202},
        .signatureAlwaysShown = true,
        .miniClientWidth = 411,
        .miniClientHeight = 123,
    };
    addGroupBoxes(l, 266);
    l.controls.push_back({control::kModel, ControlKind::Field, {10, 9, 77, 12}, ""});
    l.controls.push_back({control::kClock, ControlKind::Field, {98, 9, 77, 12}, ""});
    l.controls.push_back({control::kMultiplier, ControlKind::Field, {186, 9, 77, 12}, ""});
    l.controls.push_back({control::kSignature, ControlKind::Field, {10, 24, 77, 12}, ""});
    l.controls.push_back({control::kLoad, ControlKind::Field, {98, 24, 77, 12}, ""});
    l.controls.push_back({control::kVid, ControlKind::Field, {186, 24, 77, 12}, ""});
    constexpr std::array<int, 6> kColumnX{8, 52, 96, 140, 184, 228};
    for (std::size_t c = 0; c < kColumnX.size(); ++c) {
        addColumn(l, kColumnX[c], 37, c);
    }
    l.controls.push_back({control::kGpuButton, ControlKind::Button, {3, 216, 52, 14}, ""});
    l.controls.push_back(
        {control::kSensorTest, ControlKind::Button, {57, 216, 52, 14}, "Sensor Test"});
    l.controls.push_back(
        {control::kTovelBench, ControlKind::Button, {111, 216, 52, 14}, "Tovel Bench"});
    l.controls.push_back({control::kReset, ControlKind::Button, {165, 216, 52, 14}, "Reset"});
    l.controls.push_back({control::kSettings, ControlKind::Button, {219, 216, 52, 14}, "Settings"});
    return l;
}

constexpr std::array<int, 5> kHeadingBoxes{control::kTemperatureBox, control::kDistanceBox,
                                           control::kMinimumBox, control::kMaximumBox,
                                           control::kStatusBox};

}  // namespace

int toPixelsAcross(int units) {
    return (units * 3 + 1) / 2;
}

int toPixelsDown(int units) {
    return (units * 13 + 4) / 8;
}

PixelRect toPixels(const DialogRect& r) {
    const int left = toPixelsAcross(r.x);
    const int top = toPixelsDown(r.y);
    return {left, top, toPixelsAcross(r.x + r.width) - left, toPixelsDown(r.y + r.height) - top};
}

const ControlSpec* MainWindowLayout::find(int id) const {
    for (const ControlSpec& c : controls) {
        if (c.id == id) {
            return &c;
        }
    }
    return nullptr;
}

const MainWindowLayout& mainWindowLayout(const Edition& edition) {
    static const MainWindowLayout standard = standardLayout();
    static const MainWindowLayout xl = xlLayout();
    return edition.isXL() ? xl : standard;
}

std::span<const int> headingBoxes() {
    return kHeadingBoxes;
}

}  // namespace calidus
