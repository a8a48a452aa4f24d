#include "app/Engine.h"

#include <ctime>
#include <new>
#include <utility>

#include "config/ProfileFile.h"
#include "config/SettingsReader.h"
#include "config/SettingsWriter.h"
#include "cpu/CoreMap.h"
#include "cpu/TjMaxSelection.h"
#include "measure/ClockModulation.h"
#include "measure/FixedCounters.h"
#include "measure/TemperatureUnits.h"

namespace calidus {

namespace {

constexpr std::chrono::milliseconds kNoWait{0};
constexpr std::chrono::milliseconds kDriverSettleTime{250};
constexpr int kShortestRefreshInterval = 100;
constexpr int kLongestRefreshInterval = 20000;
constexpr std::uint64_t kKillMHzTick = 4;
constexpr std::uint32_t kProcessorZero = 1;

std::string formatTime(Clock& clock, std::time_t when) {
    const std::tm local = clock.localTime(when);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

std::chrono::milliseconds tickPeriodFor(const Edition& edition, int refreshInterval) {
    if (!edition.hasRefreshInterval || refreshInterval < kShortestRefreshInterval ||
        refreshInterval > kLongestRefreshInterval) {
        return Engine::kFixedTickPeriod;
    }
    return std::chrono::milliseconds(refreshInterval);
}

}  // namespace

Engine::Engine(const Edition& edition, Platform& platform, DesktopPort& desktop,
               EngineSettings settings)
    : edition_(edition),
      platform_(platform),
      desktop_(desktop),
      settingsFile_(std::move(settings.file)),
      access_(platform) {}

Engine::~Engine() {
    shutdown();
}

StartResult Engine::start() {
    if (!started_) {
        started_ = true;
        startResult_ = startUp();
        ready_ = startResult_.outcome == StartOutcome::Ready;
    }
    return startResult_;
}

StartResult Engine::startUp() {
    raisePriorities();
    const std::uint32_t status = startDriver();
    if (status == 0 && access_.msrAvailable()) {
        createMonitorState();
    }
    if (!state_) {
        // A refused register access and a failed allocation both report status 0.
        return fail(StartOutcome::DriverError, "Driver Error", driverStatusText(status),
                    MessageIcon::Error);
    }
    try {
        if (!identifyProcessor()) {
            refused_ = true;
            return fail(StartOutcome::Refused, "Error", unsupportedProcessorMessage(processor_),
                        MessageIcon::Error);
        }
        // Clock measurement: ClockState, the ratios and the first counter snapshot come here,
        // and the multiplier method follows "MSRMulti".
        const ProfileFile file = ProfileFile::load(settingsFile_);
        texts_.signature = processor_.longSignatureText();
        texts_.shortSignature = processor_.shortSignatureText();
        buildCoreMap();
        // The clock thread starts here.
        if (edition_.cpuidLimitClearedAfterClockThread) {
            clearCpuidLimit(access_);
        }
        chooseTjMaxFromTables();
        applySettings(file);
        startMonitoringClock();
    } catch (const std::bad_alloc&) {
        return fail(StartOutcome::MemoryError, std::string(edition_.programName),
                    "Memory Allocation Error.", MessageIcon::None);
    }
    return {};
}

void Engine::raisePriorities() {
    Scheduler& scheduler = *platform_.scheduler;
    if (edition_.timeCriticalMonitoringThread) {
        scheduler.setProcessPriority(ProcessPriority::Normal);
        scheduler.sleep(kNoWait);
        return;
    }
    scheduler.setProcessPriority(ProcessPriority::AboveNormal);
    scheduler.sleep(kNoWait);
    scheduler.setThreadPriority(ThreadPriority::AboveNormal);
    scheduler.sleep(kNoWait);
}

std::uint32_t Engine::startDriver() {
    access_.startDriver();
    platform_.scheduler->sleep(kDriverSettleTime);
    return access_.driverStatus();
}

void Engine::createMonitorState() {
    try {
        state_ = std::make_unique<MonitorState>();
    } catch (const std::bad_alloc&) {
        return;
    }
    Scheduler& scheduler = *platform_.scheduler;
    if (edition_.timeCriticalMonitoringThread) {
        scheduler.setThreadPriority(ThreadPriority::TimeCritical);
        scheduler.sleep(kNoWait);
    }
    const AffinityMasks masks = scheduler.affinityMasks();
    state_->processMask = masks.process;
    state_->systemMask = masks.system;
    if (masks.process < masks.system) {
        scheduler.setProcessAffinity(masks.system);
        scheduler.sleep(kNoWait);
        scheduler.setThreadAffinity(masks.system);
        scheduler.sleep(kNoWait);
    }
    access_.setSystemMask(masks.system);
    state_->coreMap = CoreMap{};
}

bool Engine::identifyProcessor() {
    if (!edition_.cpuidLimitClearedAfterClockThread) {
        clearCpuidLimit(access_);
    }
    return checkSupport(access_, edition_, processor_);
}

void Engine::buildCoreMap() {
    state_->coreMap = calidus::buildCoreMap(access_, edition_);
    access_.unpin();
}

void Engine::chooseTjMaxFromTables() {
    const bool killMHz = calidus::chooseTjMaxFromTables(processor_, state_->calibration, edition_);
    threads_.killMHz = killMHz ? 1 : 0;
    texts_.model = processor_.modelText;
}

// The second package and the gap fix decide which cores exist before TjMax is read from them;
// every other key is read from the same file afterwards.
void Engine::applySettings(const ProfileFile& file) {
    MonitorState& state = *state_;
    int headingCpu = 0;
    if (edition_.hasSkull) {
        headingCpu = selectSecondPackage(state.coreMap, readSkull(file, edition_));
    }
    // The GPU sources that "GPU" asks for are created here.
    const GpuSourcesRunning gpu;
    fixCoreGap(state.coreMap);
    chooseTjMaxFromProcessor(access_, processor_, state.coreMap, state.calibration, edition_);

    const StartupSettings loaded =
        loadSettings(file, edition_,
                     {.processor = {.brandString = processor_.brandString,
                                    .cpuSignature = processor_.cpuSignature,
                                    .platformInfoClass = processor_.platformInfoClass},
                      .cores = state.calibration,
                      .killMHz = threads_.killMHz.load() != 0,
                      .gpu = gpu});
    settings_ = loaded.settings;
    tickPeriod_ = tickPeriodFor(edition_, settings_.refreshInterval);
    state.calibration = loaded.cores;
    threads_.killMHz = loaded.killMHz ? 1 : 0;

    state.degreeString = degreeString(settings_.fahrenheit, settings_.degreeSymbolString);
    texts_.heading = "Temperature (" + state.degreeString + ")";
    if (headingCpu != 0) {
        texts_.heading += " - CPU " + std::to_string(headingCpu);
    }
    // The load thread starts here when "TMLoad" is on.
    state.clockMod = clockModulationAtStart(settings_.clockMod);
    applyClockModulation(access_, edition_, state.clockMod);
    // The window applies its own keys (position, colours, headings, fonts) from settings().
}

void Engine::startMonitoringClock() {
    startTime_ = platform_.clock->now();
    state_->statsStart = startTime_;
}

StartResult Engine::fail(StartOutcome outcome, const std::string& caption, const std::string& text,
                         MessageIcon icon) {
    desktop_.showMessage(caption, text, icon);
    return {outcome, caption, text};
}

void Engine::runTick() {
    if (!monitoring()) {
        return;
    }
    if (!firstTickDone_) {
        firstTickDone_ = true;
        firstTick();
    }
    monitorTick();
    keepFixedCountersRunning();
}

void Engine::firstTick() {
    desktop_.placeWindow();
    if (settings_.miniMode) {
        desktop_.enterMiniMode();
    }
    platform_.scheduler->sleep(kNoWait);
    settings_.iconShow =
        static_cast<int>(desktop_.addTrayIcons(static_cast<std::uint32_t>(settings_.iconShow)));
    // This edition's bits only: unused bits left in the mask must not stand for a shown icon.
    const auto shown = static_cast<std::uint32_t>(settings_.iconShow);
    if ((shown & edition_.trayIconBits()) == 0) {
        settings_.taskBar = true;
    }
    if ((shown & edition_.gpuTrayIconBit()) && !state_->gpuPresent) {
        settings_.iconShow = static_cast<int>(shown & ~edition_.gpuTrayIconBit());
    }
    if (settings_.startMinimized) {
        desktop_.minimizeWindow();
    }
}

void Engine::monitorTick() {
    MonitorState& state = *state_;
    ++state.tickCount;
    if (edition_.hasKillMHz && state.tickCount == kKillMHzTick && threads_.killMHz.load() != 0) {
        int running = ThreadControl::kRunning;
        threads_.clockThreadFlag.compare_exchange_strong(running, ThreadControl::kStopRequested);
    }
    state.alarmThisTick = false;

    Clock& clock = *platform_.clock;
    const std::time_t now = clock.now();
    lastTick_ = {now, formatTime(clock, now)};
    updateCoreTemperatures(state, access_, monitorSettings(), edition_, lastTick_);
    // The GPU sources are read here and their hottest value goes to updateGpuSample.
    // The alarm actions run here.
    desktop_.refreshTray();
    // The clock, multiplier, load and VID or run-time texts are updated here, then the log row.
    desktop_.refreshWindow();
}

MonitorSettings Engine::monitorSettings() const {
    return {.fahrenheit = settings_.fahrenheit,
            .oldFormula = settings_.oldFormula != 0,
            .alarm = settings_.alarm,
            .alarm1 = settings_.alarm1,
            .alarm2 = settings_.alarm2};
}

void Engine::keepFixedCountersRunning() {
    enableFixedCounters(access_, edition_.highestLogicalProcessor);
}

bool Engine::resetStatistics() {
    if (!monitoring()) {
        return false;
    }
    if (benchmarkRunning_) {
        benchmarkStopRequested_ = true;
        return false;
    }
    calidus::resetStatistics(*state_, platform_.clock->now());
    // The run-time gap and the GPU sources' extremes are reset here.
    desktop_.refreshWindow();
    return true;
}

void Engine::shutdown() {
    if (shutDown_) {
        return;
    }
    // A refused start read no settings and changed no register, so only the driver is let go;
    // after a fatal start-up error not even that.
    if (refused_) {
        shutDown_ = true;
        access_.stopDriver();
        return;
    }
    if (!ready_) {
        return;
    }
    shutDown_ = true;
    stopWorkerThreads(
        threads_, *platform_.scheduler,
        {.clockThreadStarted = clockThreadStarted_,
         .requestClockStopUnconditionally = edition_.stopsClockThreadUnconditionally});
    access_.pinToProcessor(kProcessorZero);
    clockModAtExit_ = access_.readMsr(kClockModulationMsr).low;
    access_.unpin();
    saveExitKeys();
    // The pending log rows are written here.
    if (firstTickDone_) {
        desktop_.removeTrayIcons(static_cast<std::uint32_t>(settings_.iconShow));
    }
    applyClockModulation(access_, edition_,
                         static_cast<std::uint32_t>(edition_.shutdownClockModulation));
    // The GPU sources are released here.
    access_.stopDriver();
}

// A failed write leaves the file as it was; the run ends either way.
void Engine::saveExitKeys() {
    if (settingsFile_.empty()) {
        return;
    }
    const WindowPositionAtExit window = desktop_.windowPositionAtExit();
    saveOnExit(settingsFile_, {.windowTopLeft = window.topLeft,
                               .compositionShift = window.compositionShift,
                               .anchor = window.anchor,
                               .previousAnchor = window.previousAnchor,
                               .miniMode = settings_.miniMode,
                               .iconShow = settings_.iconShow,
                               .clockModulationRegister = clockModAtExit_});
}

}  // namespace calidus
