#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "measure/MonitorState.h"
#include "measure/RunPart.h"
#include "record/AlarmWindow.h"

namespace calidus {

inline constexpr const char* kWarningSoundName = "CLWarning.wav";

// The alarm actions of a run. The temperature tests of the tick set alarmThisTick; after the
// GPU sources this part restores the window and starts the alarm program once per latch,
// flashes the window on every alarm tick and plays the warning sound every sixth tick.
class Alarm : public RunPart {
  public:
    using Report = std::function<void(const std::string& problem)>;

    // The warning sound is looked up in soundFolders in order (an empty path is the current
    // folder); program failures other than a missing file go to `report`.
    Alarm(AlarmWindow& window, std::vector<std::filesystem::path> soundFolders, Report report);

    void tick(RunContext& run) override { runAlarmActions(run); }

    void runAlarmActions(RunContext& run);

  private:
    void startAlarmProgram(RunContext& run);
    void playWarningSound(RunContext& run);

    AlarmWindow& window_;
    std::vector<std::filesystem::path> soundFolders_;
    Report report_;
};

// The Settings window closed with OK: the next alarm restores the window and starts the
// program again.
void rearmAlarm(MonitorState& state);

// The first of the folders that holds the warning sound, as a full path; empty when none does.
std::filesystem::path findWarningSound(const std::vector<std::filesystem::path>& folders);

}  // namespace calidus
