#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Edition.h"
#include "config/Settings.h"

namespace calidus {

// Which of the Settings window's alarm fields take input.
struct AlarmFieldsEnabled {
    bool coreThreshold = false;
    bool programPath = false;
    bool gpuThreshold = false;
};

// "Alarm Temperatures" checked or cleared: "Alarm" changes at once; the window enables the
// fields as answered, and its "Apply" button.
AlarmFieldsEnabled onAlarmSwitch(Settings& settings, bool checked, bool gpuSourceEnabled);

// A threshold field lost the focus: the corrected value is stored at once and answered for the
// field to show.
int onCoreThresholdEdited(Settings& settings, int typed);
int onGpuThresholdEdited(Settings& settings, int typed);

struct FileFilter {
    std::string name;
    std::string pattern;
};

// The file chooser behind "Alarm EXE": only existing files can be chosen.
struct AlarmProgramChooser {
    std::string title;
    std::vector<FileFilter> filters;
};
AlarmProgramChooser alarmProgramChooser();

struct AlarmProgramChoice {
    std::string path;     // the pending "AlarmFile"; empty removes the alarm program
    std::string refusal;  // shown with the error icon when not empty
};

// The chooser returned a path, or nothing on Cancel. Either program of this tree is refused, so
// an alarm cannot start a second monitor.
AlarmProgramChoice onChooseAlarmProgram(const Edition& edition,
                                        const std::optional<std::string>& chosen);

}  // namespace calidus
