#include "record/Alarm.h"

#include <system_error>
#include <utility>

namespace calidus {

namespace {

constexpr std::uint64_t kSoundEveryTicks = 6;

}  // namespace

Alarm::Alarm(AlarmWindow& window, std::vector<std::filesystem::path> soundFolders, Report report)
    : window_(window), soundFolders_(std::move(soundFolders)), report_(std::move(report)) {}

void Alarm::runAlarmActions(RunContext& run) {
    MonitorState& state = run.state;
    if (!state.alarmThisTick) {
        return;
    }
    // A message box below lets later ticks run before it returns; this tick keeps its count.
    const std::uint64_t tick = state.tickCount;
    if (!state.alarmLatched) {
        window_.restoreWindow();
        // Before the program starts, so a tick under its message box does not repeat this.
        state.alarmLatched = true;
        startAlarmProgram(run);
    }
    window_.flashWindow();
    if (tick % kSoundEveryTicks == 0) {
        playWarningSound(run);
    }
}

void Alarm::startAlarmProgram(RunContext& run) {
    const std::string& program = run.settings.alarmFile;
    if (program.empty() || !run.platform.launcher) {
        return;
    }
    const LaunchResult result = run.platform.launcher->startDetached(program);
    switch (result.outcome) {
        case LaunchOutcome::Started:
            break;
        case LaunchOutcome::NotFound:
            window_.showError("Error", "Alarm file not found.\n\n" + program + "   ");
            break;
        case LaunchOutcome::Failed:
            // No box for these, but a person looking for why nothing ran finds it here.
            report_(std::string(run.edition.programName) + ": the alarm program " + program +
                    " did not start: " + result.reason);
            break;
    }
}

void Alarm::playWarningSound(RunContext& run) {
    if (!run.platform.sound) {
        return;
    }
    const std::filesystem::path sound = findWarningSound(soundFolders_);
    if (!sound.empty()) {
        run.platform.sound->play(sound);
    }
}

void rearmAlarm(MonitorState& state) {
    state.alarmLatched = false;
}

std::filesystem::path findWarningSound(const std::vector<std::filesystem::path>& folders) {
    for (const std::filesystem::path& folder : folders) {
        const std::filesystem::path file = folder / kWarningSoundName;
        std::error_code error;
        if (std::filesystem::is_regular_file(file, error)) {
            return std::filesystem::absolute(file, error);
        }
    }
    return {};
}

}  // namespace calidus
