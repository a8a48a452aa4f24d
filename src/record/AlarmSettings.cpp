#include "record/AlarmSettings.h"

#include <filesystem>

namespace calidus {

namespace {

int corrected(int typed, UnitTemperature ceiling, bool fahrenheit) {
    const int limit = ceiling.in(fahrenheit);
    return typed > limit || typed < 0 ? limit : typed;
}

bool namesOneOfOurPrograms(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    return name == "Calidus" || name == "CalidusXL" ||
           path.find("Calidus.exe") != std::string::npos ||
           path.find("CalidusXL.exe") != std::string::npos;
}

}  // namespace

AlarmFieldsEnabled onAlarmSwitch(Settings& settings, bool checked, bool gpuSourceEnabled) {
    settings.alarm = checked;
    return {.coreThreshold = checked,
            .programPath = checked,
            .gpuThreshold = checked && gpuSourceEnabled};
}

int onCoreThresholdEdited(Settings& settings, int typed) {
    settings.alarm1 = corrected(typed, {100, 212}, settings.fahrenheit);
    return settings.alarm1;
}

int onGpuThresholdEdited(Settings& settings, int typed) {
    settings.alarm2 = corrected(typed, {105, 221}, settings.fahrenheit);
    return settings.alarm2;
}

AlarmProgramChooser alarmProgramChooser() {
    return {.title = "Open File to Run on Alarm",
            .filters = {{"Programs", "*"}, {"Shell Scripts", "*.sh"}}};
}

AlarmProgramChoice onChooseAlarmProgram(const Edition& edition,
                                        const std::optional<std::string>& chosen) {
    if (!chosen) {
        return {};
    }
    if (namesOneOfOurPrograms(*chosen)) {
        return {.path = {}, .refusal = std::string(edition.alarmProgramRefusal)};
    }
    return {.path = *chosen, .refusal = {}};
}

}  // namespace calidus
