#include "view/SettingsWindowLayout.h"

#include <string>

namespace calidus {

namespace {

namespace c = settingsControl;
using Kind = SettingsControlKind;

constexpr int kColumnWidth = 32;
constexpr int kColumnStep = 36;
constexpr int kFirstColumnX = 92;

// The rows below the per-core columns; `right` is the inner right edge of the group boxes.
void addRows(SettingsWindowLayout& l, bool xl) {
    const int boxWidth = l.width - 8;
    const int right = 4 + boxWidth - 6;
    auto add = [&l](int id, Kind kind, DialogRect rect, std::string_view caption = {}) {
        l.controls.push_back({id, kind, rect, caption});
    };
    const std::string_view fill = xl ? "Background" : "Fill";
    // "Background" needs wider buttons than "Fill".
    const int colourWidth = xl ? 58 : 44;
    const int colourStep = colourWidth + 4;
    add(0, Kind::GroupBox, {4, 50, boxWidth, 48}, "Dialog Color");
    const struct {
        int box;
        std::string_view caption;
        int fill;
        int text;
        int heading;
        int y;
    } windows[] = {
        {c::kNormalWindow, "Normal Window", c::kNormalFill, c::kNormalText, c::kNormalHeading, 61},
        {c::kMiniMode, "Mini Mode", c::kMiniFill, c::kMiniText, c::kMiniHeading, 78}};
    for (const auto& w : windows) {
        add(w.box, Kind::CheckBox, {10, w.y + 2, 76, 10}, w.caption);
        add(w.fill, Kind::Button, {92, w.y, colourWidth, 13}, fill);
        add(w.text, Kind::Button, {92 + colourStep, w.y, colourWidth, 13}, "Text");
        add(w.heading, Kind::Button, {92 + 2 * colourStep, w.y, colourWidth, 13}, "Heading");
    }

    add(0, Kind::GroupBox, {4, 100, boxWidth, 64}, "System Tray Settings");
    add(0, Kind::Static, {10, 115, 44, 10}, "Font Color");
    add(c::kGpuColour, Kind::Button, {56, 113, kColumnWidth, 13}, "GPU");
    add(0, Kind::Static, {10, 131, 44, 10}, "Show Icon");
    add(c::kGpuIcon, Kind::CheckBox, {64, 131, 20, 10});
    add(l.fonts, Kind::Button, {10, 146, 78, 13});
    add(l.quality, Kind::ReadOnlyEdit, {92, 146, 56, 12});
    add(l.qualitySpin, Kind::Spin, {148, 146, 10, 12});
    add(c::kThreeDigits, Kind::CheckBox, {170, 147, 56, 10}, "3 Digits");

    const int otherTop = 166;
    add(0, Kind::GroupBox, {4, otherTop, boxWidth, 148}, "Other Settings");
    // The standard edition's long box caption, the XL edition's long labels.
    add(c::kAlarm, Kind::CheckBox, {10, 179, xl ? 40 : 90, 10},
        xl ? "Alarm" : "Alarm Temperatures");
    const int labelWidth = xl ? 66 : 18;
    const int cpuX = xl ? 92 : 102;
    add(0, Kind::Static, {cpuX, 179, labelWidth, 10}, xl ? "CPU Temperature" : "CPU");
    add(c::kCpuAlarm, Kind::NumberEdit, {cpuX + labelWidth + 2, 177, 26, 12});
    const int gpuX = cpuX + labelWidth + 36;
    add(0, Kind::Static, {gpuX, 179, labelWidth, 10}, xl ? "GPU Temperature" : "GPU");
    add(c::kGpuAlarm, Kind::NumberEdit, {gpuX + labelWidth + 2, 177, 26, 12});
    add(c::kAlarmProgram, Kind::Button, {10, 194, 52, 14}, "Alarm EXE");
    add(c::kAlarmPath, Kind::ReadOnlyEdit, {66, 195, right - 66, 12});
    add(c::kRivaTuner, Kind::Button, {10, 212, 52, 14}, "RivaTuner");
    add(c::kRivaPath, Kind::ReadOnlyEdit, {66, 213, right - 66, 12});
    add(c::kClockModulation, Kind::CheckBox, {10, 232, 74, 10}, "Clock Modulation");
    add(c::kDuty, Kind::ReadOnlyEdit, {85, 231, 32, 12});
    add(l.dutySpin, Kind::Spin, {117, 231, 10, 12});
    add(c::kLogFile, Kind::CheckBox, {133, 232, 79, 10}, "Log File (seconds)");
    add(c::kLogSeconds, Kind::NumberEdit, {212, 231, 24, 12});

    // The longest captions go to the last column, which reaches the group's edge.
    const int columnX[] = {10, xl ? 110 : 76, xl ? 210 : 152};
    const int columnWidth[] = {xl ? 96 : 64, xl ? 96 : 74, right - columnX[2]};
    const struct {
        int id;
        std::string_view caption;
    } grid[] = {
        {l.ati, "ATI"},
        {l.nvidia, "Nvidia"},
        {c::kDisableTurbo, "Disable Turbo"},
        {c::kTmLoad, "TM Load"},
        {c::kC1e, "C1E"},
        {c::kEist, "EIST"},
        {c::kExcel, "Excel"},
        {l.fahrenheit, xl ? "Fahrenheit" : "\u00B0F / \u00B0C"},
        {c::kAlwaysOnTop, "Always On Top"},
        {c::kTaskBar, "Task Bar"},
        {c::kStartMinimized, "Start Minimized"},
        {c::kMinimizeOnClose, "Minimize On Close"},
        {c::kTrayInfo, "Tray Info"},
    };
    int cell = 0;
    for (const auto& box : grid) {
        const int column = cell % 3;
        add(box.id, Kind::CheckBox,
            {columnX[column], 249 + 13 * (cell / 3), columnWidth[column], 10}, box.caption);
        ++cell;
    }
    add(0, Kind::Static, {columnX[1], 301, 30, 10}, "APIC ID");
    add(c::kApicId, Kind::ReadOnlyEdit, {columnX[1] + 32, 299, 60, 12});

    const int buttonsTop = l.height - 21;
    const int buttonWidth = 50;
    add(c::kDefaults, Kind::Button, {4, buttonsTop, buttonWidth, 14}, "Defaults");
    const int okX = l.width - 4 - 3 * buttonWidth - 2 * 4;
    add(c::kOk, Kind::Button, {okX, buttonsTop, buttonWidth, 14}, "OK");
    add(c::kCancel, Kind::Button, {okX + buttonWidth + 4, buttonsTop, buttonWidth, 14}, "Cancel");
    add(c::kApply, Kind::Button, {okX + 2 * (buttonWidth + 4), buttonsTop, buttonWidth, 14},
        "Apply");
}

void addCoreColumns(SettingsWindowLayout& l, std::vector<std::string>& captions) {
    const int boxWidth = l.width - 8;
    auto add = [&l](int id, Kind kind, DialogRect rect, std::string_view caption = {}) {
        l.controls.push_back({id, kind, rect, caption});
    };
    add(0, Kind::GroupBox, {4, 2, boxWidth, 46}, "Advanced Calibration Settings");
    add(0, Kind::Static, {10, 15, 78, 10}, "Idle Calibration");
    add(c::kSetTjMax, Kind::CheckBox, {10, 31, 78, 10}, "Set TJ Max");
    for (std::size_t column = 0; column < l.cores.size(); ++column) {
        const int x = kFirstColumnX + kColumnStep * static_cast<int>(column);
        add(l.calibration[column], Kind::Edit, {x, 13, kColumnWidth, 12});
        add(l.tjMax[column], Kind::NumberEdit, {x, 29, kColumnWidth, 12});
        add(l.colour[column], Kind::Button, {x, 113, kColumnWidth, 13}, captions[column]);
        add(l.showIcon[column], Kind::CheckBox, {x + 10, 131, 20, 10});
    }
}

SettingsWindowLayout makeLayout(const Edition& edition) {
    const bool xl = edition.isXL();
    SettingsWindowLayout l{
        .width = xl ? 310 : 243,
        .height = xl ? 350 : 349,
        .controls = {},
        .cores = {edition.monitoredCores.begin(), edition.monitoredCores.end()},
        .calibration = {1068, 1069, 1070, 1071},
        .tjMax = {1064, 1065, 1066, 1067},
        .colour = {1091, 1092, 1093, 1094},
        .showIcon = {1073, 1074, 1075, 1076},
        .fahrenheit = xl ? 1507 : 1227,
        .fonts = xl ? 1500 : 1218,
        .quality = xl ? 1502 : 1220,
        .qualitySpin = xl ? 1501 : 1225,
        .dutySpin = xl ? 1503 : 1226,
        .ati = xl ? 1505 : 1223,
        .nvidia = xl ? 1506 : 1224,
    };
    if (xl) {
        l.calibration.insert(l.calibration.end(), {1227, 1228});
        l.tjMax.insert(l.tjMax.end(), {1229, 1230});
        l.colour.insert(l.colour.end(), {1231, 1232});
        l.showIcon.insert(l.showIcon.end(), {1233, 1234});
    }
    return l;
}

// The captions outlive the layout's views of them.
std::vector<std::string>& columnCaptions(const Edition& edition) {
    static std::vector<std::string> standard;
    static std::vector<std::string> xl;
    std::vector<std::string>& captions = edition.isXL() ? xl : standard;
    if (captions.empty()) {
        for (const int core : edition.monitoredCores) {
            captions.push_back("Core " + std::to_string(core));
        }
    }
    return captions;
}

SettingsWindowLayout build(const Edition& edition) {
    SettingsWindowLayout l = makeLayout(edition);
    addCoreColumns(l, columnCaptions(edition));
    addRows(l, edition.isXL());
    return l;
}

}  // namespace

const SettingsWindowLayout& settingsWindowLayout(const Edition& edition) {
    static const SettingsWindowLayout standard = build(Edition::standard());
    static const SettingsWindowLayout xl = build(Edition::xl());
    return edition.isXL() ? xl : standard;
}

}  // namespace calidus
