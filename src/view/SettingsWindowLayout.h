#pragma once

#include <string_view>
#include <vector>

#include "common/Edition.h"
#include "view/MainWindowLayout.h"

namespace calidus {

// Control ids of the Settings window alike in both editions.
namespace settingsControl {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kNormalWindow = 1009;
constexpr int kMiniMode = 1011;
constexpr int kClockModulation = 1012;
constexpr int kGpuIcon = 1013;
constexpr int kThreeDigits = 1014;
constexpr int kMinimizeOnClose = 1015;
constexpr int kC1e = 1016;
constexpr int kEist = 1017;
constexpr int kDefaults = 1063;
constexpr int kLogFile = 1078;
constexpr int kLogSeconds = 1079;
constexpr int kAlwaysOnTop = 1080;
constexpr int kStartMinimized = 1081;
constexpr int kTaskBar = 1083;
constexpr int kSetTjMax = 1086;
constexpr int kApply = 1088;
constexpr int kTrayInfo = 1095;
constexpr int kAlarm = 1104;
constexpr int kCpuAlarm = 1105;
constexpr int kGpuAlarm = 1106;
constexpr int kExcel = 1107;
constexpr int kNormalFill = 1113;
constexpr int kNormalText = 1114;
constexpr int kMiniFill = 1115;
constexpr int kMiniText = 1116;
constexpr int kDuty = 1119;
constexpr int kAlarmProgram = 1142;
constexpr int kAlarmPath = 1143;
constexpr int kGpuColour = 1170;
constexpr int kRivaTuner = 1171;
constexpr int kRivaPath = 1172;
constexpr int kApicId = 1174;
constexpr int kNormalHeading = 1177;
constexpr int kMiniHeading = 1178;
constexpr int kDisableTurbo = 1183;
constexpr int kTmLoad = 1186;
}  // namespace settingsControl

enum class SettingsControlKind {
    GroupBox,
    Static,
    Edit,
    NumberEdit,
    ReadOnlyEdit,
    CheckBox,
    Button,
    Spin,
};

// A control of the dialog template; groups and statics have no id (0).
struct SettingsControl {
    int id;
    SettingsControlKind kind;
    DialogRect rect;
    std::string_view caption;
};

struct SettingsWindowLayout {
    int width;  // dialog units
    int height;
    std::vector<SettingsControl> controls;
    // Per core column, left to right: the core number it stands for and its controls.
    std::vector<int> cores;
    std::vector<int> calibration;
    std::vector<int> tjMax;
    std::vector<int> colour;
    std::vector<int> showIcon;
    // The ids that differ by edition.
    int fahrenheit;
    int fonts;
    int quality;
    int qualitySpin;
    int dutySpin;
    int ati;
    int nvidia;
};

const SettingsWindowLayout& settingsWindowLayout(const Edition& edition);

}  // namespace calidus
