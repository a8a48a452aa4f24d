#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Edition.h"
#include "cpu/CoreMap.h"
#include "cpu/ProcessorAccess.h"
#include "tools/MovementWorkload.h"
#include "tools/StressProgram.h"

namespace calidus {

inline constexpr int kSensorTestRows = 10;
inline constexpr int kSensorTestTicks = 614;  // seconds from Start to the end of the last row

// The stress program's publisher's download page.
inline constexpr std::string_view kStressProgramDownloadPage = "https://www.mersenne.org/freesoft/";

struct SensorTestInputs {
    const Edition& edition;
    ProcessorAccess& access;  // its system mask is every processor the test writes
    const CoreMap& coreMap;
    Scheduler& scheduler;
    ProcessLauncher* launcher;            // none: no stress program starts
    std::function<double()> averageLoad;  // per cent, over every processor, 0 without figures
    std::function<void()> workloadStep;   // one step of each movement-test thread
};

// What the window shows; one entry per column (the edition's monitored cores), empty for an
// absent core or a row not measured yet.
struct SensorTestView {
    std::vector<std::string> movement;
    std::array<std::vector<std::string>, kSensorTestRows> rows;
    std::array<std::string, kSensorTestRows> loads;
    std::string status;
    bool startEnabled = true;
    bool stopEnabled = false;
    bool downloadEnabled = true;
};

struct SensorTestMessage {
    std::string caption;
    std::string text;
};

// The sensor movement test and the cool-down test, without a screen: the window calls these
// in the order its buttons and its one-second timer give, and shows view().
class SensorTest {
  public:
    explicit SensorTest(SensorTestInputs inputs);
    SensorTest(const SensorTest&) = delete;
    SensorTest& operator=(const SensorTest&) = delete;
    // Like the window's end: the clock modulation read at opening back on every processor, and
    // the stress program ended.
    ~SensorTest();

    // Opening: the readings at rest, the modulation to restore, and the load on every processor.
    void open();
    // Four seconds after open: how far each sensor moved.
    void finishMovementTest();

    // "Start", before the file dialog: modulation off for the test.
    void prepareStart();
    // The dialog was cancelled.
    void programNotChosen();
    // False when the program did not start; the test does not run then.
    bool startProgram(const std::filesystem::path& program);
    // Once a second while running(); a message to show when the stress program went missing.
    std::optional<SensorTestMessage> tick();
    void stop();
    // "Download Prime 95"; the window opens kStressProgramDownloadPage.
    void download();

    bool running() const { return running_; }
    int tickCount() const { return tick_; }
    const SensorTestView& view() const { return view_; }

  private:
    std::vector<int> readSensors();
    void setModulation(std::uint32_t value);
    // The result tick of a row (0 the heat-up row): the row shown and the next phase set up.
    void finishRow(int row);

    SensorTestInputs in_;
    int slots_;
    std::vector<int> baseline_;
    int baselineSum_ = 0;
    std::vector<int> heatUpMin_;
    std::vector<int> sums_;
    double loadSum_ = 0.0;
    int coreCount_ = 0;
    std::optional<std::uint32_t> savedModulation_;
    StressProgram stress_;
    std::unique_ptr<MovementWorkload> workload_;
    int tick_ = 0;
    bool running_ = false;
    SensorTestView view_;
};

}  // namespace calidus
