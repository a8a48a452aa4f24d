#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/EngineSettings.h"
#include "app/MeasuredClockAndLoad.h"
#include "app/TrayPort.h"
#include "app/WindowPort.h"
#include "common/Edition.h"
#include "config/LiveSettings.h"
#include "config/Settings.h"
#include "cpu/ProcessorAccess.h"
#include "cpu/ProcessorInfo.h"
#include "cpu/RunConfiguration.h"
#include "gpu/GpuSources.h"
#include "measure/ClockMeasurement.h"
#include "measure/ClockModulationControl.h"
#include "measure/FeatureSwitches.h"
#include "measure/LoadMeasurement.h"
#include "measure/MonitorState.h"
#include "measure/RunPart.h"
#include "measure/TemperatureHistory.h"
#include "measure/ThreadControl.h"
#include "platform/Platform.h"
#include "record/Alarm.h"
#include "record/PrometheusTextfile.h"
#include "record/TemperatureLog.h"
#include "tools/BenchmarkControl.h"
#include "tools/BenchmarkRun.h"
#include "tools/SensorTest.h"
#include "view/DisplayTexts.h"
#include "view/SettingsPending.h"

namespace calidus {

class ProfileFile;

enum class StartOutcome {
    Ready,        // monitoring may begin: first tick after kFirstTickDelay
    DriverError,  // the driver library is unusable; nothing was started
    MemoryError,  // "Memory Allocation Error."
    Refused,      // unsupported processor
};

struct StartResult {
    StartOutcome outcome = StartOutcome::Ready;
    std::string caption;  // of the message already shown through the window port
    std::string text;
};

// Where a run stands.
enum class RunPhase {
    Constructed,
    Failed,   // a fatal start-up error: nothing to undo
    Refused,  // an unsupported processor: only the driver is let go
    WaitingForFirstTick,
    Monitoring,
    ShutDown,
};

// Owns every measurement object and worker thread of a run; no screen needed. A front end calls
// start once, runTick on its timer, and shutdown once at the end (the destructor does it too).
// Start-up reads the settings file once; shutdown writes its exit keys back.
class Engine {
  public:
    static constexpr std::chrono::milliseconds kFirstTickDelay{125};
    // Without "RefreshInterval", or with one no timer is sensible for.
    static constexpr std::chrono::milliseconds kFixedTickPeriod{1000};

    Engine(const Edition& edition, Platform& platform, WindowPort& window, TrayPort& tray,
           EngineSettings settings = {});
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Runs start-up once; a later call answers the same result.
    StartResult start();
    // One tick of the monitoring timer: the first-tick steps once, the monitoring tick, then
    // the fixed counters kept running on every processor.
    void runTick();
    // The Reset button. While the benchmark runs it asks the benchmark to stop instead and
    // answers false.
    bool resetStatistics();
    // The Settings window closed with OK: the next alarm acts as the first did.
    void rearmAlarm();
    void shutdown();

    // The period of every tick after the first, fixed when start-up reads the settings: a
    // "RefreshInterval" changed later takes effect at the next start.
    std::chrono::milliseconds tickPeriod() const { return tickPeriod_; }
    RunPhase phase() const { return phase_; }
    bool monitoring() const {
        return phase_ == RunPhase::WaitingForFirstTick || phase_ == RunPhase::Monitoring;
    }

    const Edition& edition() const { return edition_; }
    // Temperatures from the kernel's coretemp sensors: no register is read or written.
    bool readOnly() const { return platform_.driver->readOnly(); }
    const MonitorState& state() const { return state_; }
    // The rows the log has not written yet.
    const LogBuffer& logBuffer() const { return log_.logBuffer(); }
    const RunConfiguration& configuration() const { return config_; }
    // Every text the front ends show, made at start-up and at the end of every tick.
    const DisplayTexts& texts() const { return texts_; }
    // The temperatures of the last ticks, one entry each; Reset keeps them.
    const TemperatureHistory& history() const { return history_; }
    // Every key of the settings file, corrected, once start answered Ready; the window, the tray
    // and the Settings window change them live. The per-core TjMax and Idle values are in
    // configuration().
    LiveSettings& settings() { return live_; }
    const LiveSettings& settings() const { return live_; }
    // Valid once start got past the support test (also when it refused the processor).
    const ProcessorInfo& processor() const { return processor_; }
    ThreadControl& threadControl() { return threads_; }
    const ClockMeasurement& clockMeasurement() const { return clock_; }
    BenchmarkControl& benchmark() { return benchmark_; }
    // What the benchmark needs of the run; step is one workload step (benchLoop(1) seeded from
    // the platform clock when empty).
    BenchmarkInputs benchmarkInputs(std::function<std::uint64_t()> step = {});
    // What the sensor test needs of the run; workloadStep is one step of each movement-test
    // thread (benchLoop(1) seeded from the platform clock when empty).
    SensorTestInputs sensorTestInputs(std::function<void()> workloadStep = {});
    // The low half of processor 0's clock-modulation register at shutdown, saved as "ClockMod";
    // nothing when it could not be read.
    std::optional<std::uint32_t> clockModAtExit() const { return clockModAtExit_; }
    // The exit save did not reach the file.
    bool exitSaveFailed() const { return exitSaveFailed_; }
    // The GPU sources; the information windows read them, and "GPU" is saved from active().
    GpuSources& gpuSources() { return gpu_; }
    const GpuSources& gpuSources() const { return gpu_; }
    // The Settings window's "ATI" and "Nvidia" boxes. Checking "ATI" reads "PollInterval" and
    // "DisableSensor" from the settings file again when the source comes up.
    GpuBoxOutcome setAtiBox(bool checked);
    GpuBoxOutcome setNvidiaBox(bool checked);
    // Empty when the run keeps no settings file.
    const std::filesystem::path& settingsFile() const { return settingsFile_; }
    const std::vector<std::filesystem::path>& pluginFolders() const { return pluginFolders_; }

    // The Settings window. It opens over the run's values and the processor's switches; Apply
    // and OK take what it collected and write the clock modulation (answered as read back);
    // Cancel restores "TaskBar" and the clock modulation of the opening. Only OK saves.
    // Fills `features` from the processor (C1E written to every processor as read).
    SettingsPending openSettings(FeatureState& features);
    FeatureSwitches& featureSwitches() { return features_; }
    // What the driver has to tell that the ticks have not shown yet (a lockdown's refusal).
    std::string takeDriverNotice() { return platform_.driver->takeNotice(); }
    std::uint32_t applySettings(SettingsPending& pending);
    void cancelSettings(const SettingsPending& pending, std::uint32_t clockModulationAtOpening);
    // What kept the file from being written; nothing is written without a settings file.
    ReplaceResult saveSettings();
    // After OK: the alarm re-armed and, after a unit change, the heading from a fresh "Skull"
    // and the statistics reset.
    void settingsClosedWithOk(bool unitChanged);
    // "°F / °C" acts at once on the unit texts; the heading follows after OK.
    void setFahrenheit(bool fahrenheit);
    // Answers the value read back; the run keeps it as the one applied.
    std::uint32_t applyClockModulation(std::uint32_t value);
    std::array<bool, CoreCalibration::kSlots> slotsPresent() const;
    // The initial APIC ids of the logical processors, as the Settings window shows them.
    std::string apicIdText();

  private:
    StartResult startUp();
    void raisePriorities();
    std::uint32_t startDriver();
    std::string driverErrorText(std::uint32_t status);
    void reportDriverNotice();
    void prepareMonitoringThread();
    bool identifyProcessor();
    void buildCoreMap();
    void chooseTjMaxFromTables();
    // False when no monitored core is left; nothing has been changed then.
    bool readSettings(const ProfileFile& file);
    void startMonitoringClock();

    void firstTick();
    void addTrayIcons();
    void monitorTick();
    void beginTick();
    void formatTexts();
    void formatClockTexts();
    void exportReadings();
    void keepFixedCountersRunning();

    void stopThreads();
    void saveExitKeys();

    StartResult fail(StartOutcome outcome, const std::string& caption, const std::string& text,
                     MessageIcon icon);
    RunContext context();
    // What a part's trouble that needs no message box goes to.
    std::function<void(const std::string&)> problemReport();

    const Edition& edition_;
    Platform& platform_;
    WindowPort& window_;
    TrayPort& tray_;
    std::filesystem::path settingsFile_;
    std::vector<std::filesystem::path> pluginFolders_;
    Settings settings_;  // changed only through live_
    LiveSettings live_;
    ProcessorInfo processor_;
    ProcessorAccess access_;
    ThreadControl threads_;
    RunConfiguration config_;
    CoreMap builtCoreMap_;  // before the second-package choice, for a later "Skull"
    MonitorState state_;
    DisplayTexts texts_;
    TemperatureHistory history_;
    ClockModulationControl clockModulation_;
    FeatureSwitches features_{access_, edition_, processor_, config_};
    // After everything their threads use, so that they are joined first.
    LoadMeasurement load_;
    ClockMeasurement clock_{load_};
    MeasuredClockAndLoad clockAndLoad_{state_.clock, clock_.figures()};
    Alarm alarm_;
    TemperatureLog log_;
    GpuSources gpu_;
    BenchmarkControl benchmark_;
    std::optional<PrometheusTextfile> textfile_;
    RunPhase phase_ = RunPhase::Constructed;
    StartResult startResult_;
    std::chrono::milliseconds tickPeriod_ = kFixedTickPeriod;
    std::optional<std::uint32_t> clockModAtExit_;
    bool exitSaveFailed_ = false;
};

}  // namespace calidus
