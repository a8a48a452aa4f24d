#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "app/DesktopPort.h"
#include "app/EngineSettings.h"
#include "common/Edition.h"
#include "config/Settings.h"
#include "cpu/ProcessorAccess.h"
#include "cpu/ProcessorInfo.h"
#include "measure/CoreTemperatures.h"
#include "measure/MonitorState.h"
#include "measure/ThreadControl.h"
#include "platform/Platform.h"

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
    std::string caption;  // of the message already shown through the desktop port
    std::string text;
};

// The texts of the header box and the group captions the window shows.
struct HeaderTexts {
    std::string model = "-----";
    std::string signature;       // "%05X", the GPU button's first caption
    std::string shortSignature;  // "%04X", the signature field
    std::string heading;         // the temperature group's caption
};

// Owns every measurement object and worker thread of a run; no screen needed. A front end calls
// start once, runTick on its timer, and shutdown once at the end (the destructor does it too).
// Start-up reads the settings file once; shutdown writes its exit keys back.
class Engine {
  public:
    static constexpr std::chrono::milliseconds kFirstTickDelay{125};
    // Without "RefreshInterval", or with one no timer is sensible for.
    static constexpr std::chrono::milliseconds kFixedTickPeriod{1000};

    Engine(const Edition& edition, Platform& platform, DesktopPort& desktop,
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
    void shutdown();

    // The period of every tick after the first, fixed when start-up reads the settings: a
    // "RefreshInterval" changed later takes effect at the next start.
    std::chrono::milliseconds tickPeriod() const { return tickPeriod_; }
    bool monitoring() const { return ready_ && !shutDown_; }

    const Edition& edition() const { return edition_; }
    // Valid once start answered Ready.
    const MonitorState& state() const { return *state_; }
    const HeaderTexts& texts() const { return texts_; }
    // Every key of the settings file, corrected, once start answered Ready; the window and the
    // Settings window change them live. The per-core TjMax and Idle values are in state().
    Settings& settings() { return settings_; }
    const Settings& settings() const { return settings_; }
    // Valid once start got past the support test (also when it refused the processor).
    const ProcessorInfo& processor() const { return processor_; }
    ThreadControl& threadControl() { return threads_; }
    std::time_t lastTickTime() const { return lastTick_.when; }
    const std::string& lastTickTimeText() const { return lastTick_.text; }  // "%H:%M:%S"
    // The low half of processor 0's clock-modulation register at shutdown, saved as "ClockMod".
    std::uint32_t clockModAtExit() const { return clockModAtExit_; }

    void setBenchmarkRunning(bool running) { benchmarkRunning_ = running; }
    bool benchmarkStopRequested() const { return benchmarkStopRequested_; }

  private:
    StartResult startUp();
    void raisePriorities();
    std::uint32_t startDriver();
    void createMonitorState();
    bool identifyProcessor();
    void buildCoreMap();
    void chooseTjMaxFromTables();
    void applySettings(const ProfileFile& file);
    void startMonitoringClock();
    MonitorSettings monitorSettings() const;
    void saveExitKeys();

    void firstTick();
    void monitorTick();
    void keepFixedCountersRunning();

    StartResult fail(StartOutcome outcome, const std::string& caption, const std::string& text,
                     MessageIcon icon);

    const Edition& edition_;
    Platform& platform_;
    DesktopPort& desktop_;
    std::filesystem::path settingsFile_;
    Settings settings_;
    ProcessorInfo processor_;
    ProcessorAccess access_;
    ThreadControl threads_;
    std::unique_ptr<MonitorState> state_;
    HeaderTexts texts_;
    bool started_ = false;
    StartResult startResult_;
    bool ready_ = false;
    bool refused_ = false;
    bool shutDown_ = false;
    bool firstTickDone_ = false;
    bool clockThreadStarted_ = false;
    bool benchmarkRunning_ = false;
    bool benchmarkStopRequested_ = false;
    std::time_t startTime_ = 0;
    std::chrono::milliseconds tickPeriod_ = kFixedTickPeriod;
    TickTime lastTick_;
    std::uint32_t clockModAtExit_ = 0;
};

}  // namespace calidus
