#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "common/Edition.h"

namespace calidus {

// Control ids of the main window that code refers to by name.
namespace control {
constexpr int kHeaderBox = 1169;
constexpr int kModel = 1043;
constexpr int kClock = 1155;
constexpr int kMultiplier = 1159;
constexpr int kSignature = 1179;
constexpr int kGpuButton = 1176;
constexpr int kLoad = 1157;
constexpr int kVid = 1158;
constexpr int kTemperatureBox = 1164;
constexpr int kDistanceBox = 1165;
constexpr int kMinimumBox = 1166;
constexpr int kMaximumBox = 1167;
constexpr int kStatusBox = 1168;
constexpr int kSensorTest = 1045;
constexpr int kTovelBench = 1050;
constexpr int kReset = 1058;
constexpr int kSettings = 1082;
}  // namespace control

enum class ControlKind { GroupBox, Field, CoreField, ValueField, Button };

// Dialog units: the dialog font's average character width / 4 across, height / 8 down.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Tahoma 8 base units: 1.5 pixels across and 1.625 pixels down per dialog unit.
PixelRect toPixels(const DialogRect& r);
int toPixelsAcross(int units);
int toPixelsDown(int units);

struct ControlSpec {
    int id;
    ControlKind kind;
    DialogRect rect;
    std::string_view caption;
    bool initiallyHidden = false;
};

struct MainWindowLayout {
    int width;  // dialog units of the client area
    int height;
    std::vector<ControlSpec> controls;
    // Field ids per core column, left to right.
    std::vector<int> temperature;
    std::vector<int> distance;
    std::vector<int> minimum;
    std::vector<int> minimumTime;
    std::vector<int> maximum;
    std::vector<int> maximumTime;
    std::vector<int> status;
    bool signatureAlwaysShown;
    int miniClientWidth;  // pixels
    int miniClientHeight;

    int columns() const { return static_cast<int>(temperature.size()); }
    const ControlSpec* find(int id) const;
};

const MainWindowLayout& mainWindowLayout(const Edition& edition);

// The five captioned group boxes whose titles take the heading colour.
std::span<const int> headingBoxes();

}  // namespace calidus
