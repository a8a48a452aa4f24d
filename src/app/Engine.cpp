#include "app/Engine.h"

#include <algorithm>

#include <exception>
#include <new>
#include <utility>

#include "config/ProfileFile.h"
#include "config/SaveProblem.h"
#include "config/SettingsReader.h"
#include "config/SettingsWriter.h"
#include "cpu/CoreMap.h"
#include "cpu/TjMaxSelection.h"
#include "measure/ClockModulation.h"
#include "measure/CoreTemperatures.h"
#include "measure/FixedCounters.h"
#include "measure/LoadThread.h"
#include "measure/TemperatureUnits.h"
#include "platform/FileReplace.h"
#include "record/PrometheusText.h"
#include "tools/BenchLoop.h"

namespace calidus {

namespace {

constexpr std::chrono::milliseconds kNoWait{0};
constexpr std::chrono::milliseconds kDriverSettleTime{250};
constexpr int kShortestRefreshInterval = 100;
constexpr int kLongestRefreshInterval = 20000;
constexpr std::uint64_t kKillMHzTick = 4;

std::chrono::milliseconds tickPeriodFor(const Edition& edition, int refreshInterval) {
    if (!edition.hasRefreshInterval || refreshInterval < kShortestRefreshInterval ||
        refreshInterval > kLongestRefreshInterval) {
        return Engine::kFixedTickPeriod;
    }
    return std::chrono::milliseconds(refreshInterval);
}

}  // namespace

Engine::Engine(const Edition& edition, Platform& platform, WindowPort& window, TrayPort& tray,
               EngineSettings settings)
    : edition_(edition),
      platform_(platform),
      window_(window),
      tray_(tray),
      settingsFile_(std::move(settings.file)),
      pluginFolders_(std::move(settings.pluginFolders)),
      live_(edition, settings_),
      access_(platform),
      alarm_(window, std::move(settings.soundFolders), problemReport()),
      log_(clockAndLoad_, std::move(settings.logFolder), problemReport()) {
    if (settings.prometheus) {
        textfile_.emplace(
            edition, std::move(*settings.prometheus),
            [](const std::filesystem::path& file, std::string_view text) {
                return static_cast<bool>(replaceFile(file, text, Durability::Volatile));
            });
    }
}

Engine::~Engine() {
    shutdown();
}

std::function<void(const std::string&)> Engine::problemReport() {
    return [this](const std::string& problem) { window_.reportProblem(problem); };
}

RunContext Engine::context() {
    return {.edition = edition_,
            .platform = platform_,
            .access = access_,
            .settings = settings_,
            .config = config_,
            .state = state_,
            .threads = threads_};
}

StartResult Engine::start() {
    if (phase_ == RunPhase::Constructed) {
        startResult_ = startUp();
        if (startResult_.outcome == StartOutcome::Ready) {
            phase_ = RunPhase::WaitingForFirstTick;
        } else {
            phase_ = startResult_.outcome == StartOutcome::Refused ? RunPhase::Refused
                                                                   : RunPhase::Failed;
        }
    }
    return startResult_;
}

// The fixed order of start-up. A clock measurement takes its first counter snapshot after the
// identification, starts its thread after the core map; the GPU sources and the load thread
// start while the settings are read.
StartResult Engine::startUp() {
    raisePriorities();
    const std::uint32_t status = startDriver();
    if (status != 0 || !access_.msrAvailable()) {
        // A refused register access reports status 0.
        return fail(StartOutcome::DriverError, "Driver Error", driverErrorText(status),
                    MessageIcon::Error);
    }
    try {
        prepareMonitoringThread();
        if (!identifyProcessor()) {
            const StartResult refused =
                fail(StartOutcome::Refused, "Error", unsupportedProcessorMessage(processor_),
                     MessageIcon::Error);
            if (const std::string vendor = unsupportedVendorLine(processor_, edition_.programName);
                !vendor.empty()) {
                window_.reportProblem(vendor);
            }
            return refused;
        }
        const ProfileFile file = ProfileFile::load(settingsFile_);
        if (!file.refusal().empty()) {
            window_.reportProblem(std::string(edition_.programName) + ": " + file.refusal() +
                                  "; it is neither read nor replaced, so the defaults are used");
        }
        RunContext run = context();
        clock_.snapshotCounters(run, processor_);
        buildCoreMap();
        clock_.startThread(run);
        if (edition_.cpuidLimitClearedAfterClockThread) {
            clearCpuidLimit(access_);
        }
        chooseTjMaxFromTables();
        if (!readSettings(file)) {
            return fail(StartOutcome::Refused, "Error",
                        "No core of this processor can be monitored.", MessageIcon::Error);
        }
        startMonitoringClock();
        reportDriverNotice();
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

// The status text, then on a line of its own why register access failed where the driver knows.
std::string Engine::driverErrorText(std::uint32_t status) {
    std::string text = driverStatusText(status);
    // What the driver learnt says more than a guess from the status.
    std::string detail = platform_.driver->takeNotice();
    if (detail.empty()) {
        detail = driverFailureHint(status, edition_.programName);
    }
    if (!detail.empty()) {
        text += (text.empty() ? "" : "\n") + detail;
    }
    return text;
}

// Something the driver learnt while monitoring (the kernel refuses writes): said once, and the
// run goes on.
void Engine::reportDriverNotice() {
    const std::string notice = platform_.driver->takeNotice();
    if (!notice.empty()) {
        window_.showMessage(std::string(edition_.programName), notice, MessageIcon::Warning);
    }
}

void Engine::prepareMonitoringThread() {
    Scheduler& scheduler = *platform_.scheduler;
    if (edition_.timeCriticalMonitoringThread) {
        scheduler.setThreadPriority(ThreadPriority::TimeCritical);
        scheduler.sleep(kNoWait);
    }
    const AffinityMasks masks = scheduler.affinityMasks();
    config_.processMask = masks.process;
    config_.systemMask = masks.system;
    if (masks.process < masks.system) {
        scheduler.setProcessAffinity(masks.system);
        scheduler.sleep(kNoWait);
        scheduler.setThreadAffinity(masks.system);
        scheduler.sleep(kNoWait);
    }
    access_.setSystemMask(masks.system);
}

bool Engine::identifyProcessor() {
    if (!edition_.cpuidLimitClearedAfterClockThread) {
        clearCpuidLimit(access_);
    }
    return checkSupport(access_, edition_, processor_);
}

void Engine::buildCoreMap() {
    config_.coreMap = calidus::buildCoreMap(access_, edition_);
    access_.unpin();
}

void Engine::chooseTjMaxFromTables() {
    const bool killMHz = calidus::chooseTjMaxFromTables(processor_, config_.calibration, edition_);
    threads_.killMHz = killMHz ? 1 : 0;
}

// The second package and the gap fix decide which cores exist before TjMax is read from them;
// every other key is read from the same file afterwards.
bool Engine::readSettings(const ProfileFile& file) {
    builtCoreMap_ = config_.coreMap;
    if (edition_.hasSkull) {
        config_.headingCpu = selectSecondPackage(config_.coreMap, readSkull(file, edition_));
    }
    // The GPU alarm and icon defaults depend on which sources came up.
    live_.set(KeyId::Gpu, readGpuSelection(file));
    RunContext run = context();
    gpu_.startUp(run);
    fixCoreGap(config_.coreMap);
    if (std::none_of(edition_.monitoredCores.begin(), edition_.monitoredCores.end(),
                     [this](int core) { return config_.corePresent(core); })) {
        return false;
    }
    chooseTjMaxFromProcessor(access_, processor_, config_.coreMap, config_.calibration, edition_);

    const StartupSettings loaded =
        loadSettings(file, edition_,
                     {.processor = {.brandString = processor_.brandString,
                                    .cpuSignature = processor_.cpuSignature,
                                    .platformInfoClass = processor_.platformInfoClass},
                      .cores = config_.calibration,
                      .killMHz = threads_.killMHz.load() != 0,
                      .gpu = gpu_.active()});
    live_.assign(loaded.settings);
    tickPeriod_ = tickPeriodFor(edition_, settings_.refreshInterval);
    config_.calibration = loaded.cores;
    threads_.killMHz = loaded.killMHz ? 1 : 0;

    formatHeaderTexts(texts_, processor_, config_.headingCpu,
                      degreeString(settings_.fahrenheit, settings_.degreeSymbolString));
    texts_.modelTooltip = readOnly() ? std::string(kReadOnlySource) : std::string();
    clock_.applySettings(settings_);
    load_.startUp(run);
    clockModulation_.startUp(run);
    // The window applies its own keys (position, colours, headings, fonts) from settings().
    return true;
}

void Engine::startMonitoringClock() {
    state_.statsStart = platform_.clock->now();
    clock_.startRunTime(state_.statsStart, tickPeriod_);
}

StartResult Engine::fail(StartOutcome outcome, const std::string& caption, const std::string& text,
                         MessageIcon icon) {
    window_.showMessage(caption, text, icon);
    return {outcome, caption, text};
}

void Engine::runTick() {
    if (phase_ == RunPhase::WaitingForFirstTick) {
        phase_ = RunPhase::Monitoring;
        firstTick();
    }
    if (phase_ != RunPhase::Monitoring) {
        return;
    }
    monitorTick();
    keepFixedCountersRunning();
    reportDriverNotice();
}

void Engine::firstTick() {
    window_.placeWindow();
    if (settings_.miniMode) {
        window_.enterMiniMode();
    }
    platform_.scheduler->sleep(kNoWait);
    addTrayIcons();
    if (settings_.startMinimized) {
        window_.minimizeWindow();
    }
}

void Engine::addTrayIcons() {
    IconShow shown = settings_.iconShow;
    // The icon of a core or source that does not exist is not asked for, whatever the front end.
    if (edition_.trayDropsMissingAtFirstAdd) {
        for (int slot = 0; slot < IconShow::gpuSlot(edition_); ++slot) {
            if (!edition_.monitors(slot) || !config_.corePresent(slot)) {
                shown = shown.withSlot(slot, false);
            }
        }
    }
    if (!state_.gpuPresent) {
        shown = shown.withoutGpu(edition_);
    }
    live_.setIconShow(shown.withIcons(edition_, tray_.addTrayIcons(shown)));
    // This edition's bits only: unused bits left in the mask must not stand for a shown icon.
    if (!settings_.iconShow.anyIcon(edition_)) {
        live_.set(KeyId::TaskBar, true);
    }
}

// The road of one tick. The GPU sources are read after the cores, the alarm actions run before
// the tray, and the clock texts and the log row come before the window's refresh.
void Engine::monitorTick() {
    beginTick();
    updateCoreTemperatures(state_, config_, access_, monitorSettings(settings_), edition_,
                           state_.tickTime);
    RunContext run = context();
    gpu_.tick(run);
    alarm_.tick(run);
    formatTickTexts(texts_, state_, config_, edition_, *platform_.clock);
    tray_.refreshTray();
    clock_.tick(run);
    formatClockTexts();
    log_.tick(run);
    history_.record(state_, config_, edition_);
    window_.refreshWindow();
    exportReadings();
}

void Engine::beginTick() {
    ++state_.tickCount;
    if (edition_.hasKillMHz && state_.tickCount == kKillMHzTick && threads_.killMHz.load() != 0) {
        int running = ThreadControl::kRunning;
        threads_.clockThreadFlag.compare_exchange_strong(running, ThreadControl::kStopRequested);
    }
    state_.alarmThisTick = false;
    state_.tickTime = platform_.clock->now();
}

void Engine::formatTexts() {
    formatTickTexts(texts_, state_, config_, edition_, *platform_.clock);
    formatClockTexts();
}

void Engine::formatClockTexts() {
    calidus::formatClockTexts(texts_, state_.clock);
}

void Engine::exportReadings() {
    if (textfile_) {
        textfile_->publish(prometheusText(edition_, state_, config_, texts_, gpu_));
    }
}

void Engine::keepFixedCountersRunning() {
    if (readOnly()) {
        return;  // the kernel's sensors have no counters to keep
    }
    enableFixedCounters(access_, edition_.highestLogicalProcessor);
}

std::array<bool, CoreCalibration::kSlots> Engine::slotsPresent() const {
    std::array<bool, CoreCalibration::kSlots> present{};
    for (int slot = 0; slot < CoreCalibration::kSlots; ++slot) {
        present[static_cast<std::size_t>(slot)] = config_.corePresent(slot);
    }
    return present;
}

std::string Engine::apicIdText() {
    return calidus::apicIdText(access_, edition_);
}

SettingsPending Engine::openSettings(FeatureState& features) {
    features = features_.open(clockModulation_.applied());
    return SettingsPending::open(edition_, live_, config_.calibration, slotsPresent(),
                                 features.clockModulation);
}

std::uint32_t Engine::applyClockModulation(std::uint32_t value) {
    clockModulation_.noteApplied(withEditionDuty(edition_, value));
    return features_.applyClockModulation(value);
}

std::uint32_t Engine::applySettings(SettingsPending& pending) {
    pending.apply(edition_, live_, config_.calibration);
    const std::uint32_t shown = applyClockModulation(settings_.clockMod);
    if (settings_.tmLoad) {
        RunContext run = context();
        load_.startWhenStopped(run);
    }
    tray_.refreshTray();
    return shown;
}

void Engine::cancelSettings(const SettingsPending& pending,
                            std::uint32_t clockModulationAtOpening) {
    live_.set(KeyId::TaskBar, pending.taskBarAtOpening || pending.taskBarForced);
    tray_.refreshTray();
    applyClockModulation(clockModulationAtOpening);
}

ReplaceResult Engine::saveSettings() {
    if (settingsFile_.empty()) {
        return {};
    }
    try {
        return calidus::saveSettings(
            settingsFile_, edition_, settings_,
            {.processor = {.brandString = processor_.brandString,
                           .cpuSignature = processor_.cpuSignature,
                           .platformInfoClass = processor_.platformInfoClass},
             .slotPresent = slotsPresent(),
             .cores = config_.calibration,
             .gpu = gpu_.active()});
    } catch (const std::exception& error) {
        return {ReplaceFailure::WriteFailed, error.what()};
    }
}

void Engine::setFahrenheit(bool fahrenheit) {
    live_.set(KeyId::Fahrenheit, fahrenheit);
    const std::string unit = degreeString(fahrenheit, {});
    live_.set(KeyId::DegreeSymbolString, unit);
    texts_.unit = unit;
}

void Engine::settingsClosedWithOk(bool unitChanged) {
    rearmAlarm();
    if (!unitChanged) {
        return;
    }
    if (edition_.hasSkull) {
        CoreMap map = builtCoreMap_;
        config_.headingCpu =
            selectSecondPackage(map, readSkull(ProfileFile::load(settingsFile_), edition_));
    }
    formatHeaderTexts(texts_, processor_, config_.headingCpu, texts_.unit);
    resetStatistics();
}

void Engine::rearmAlarm() {
    calidus::rearmAlarm(state_);
}

BenchmarkInputs Engine::benchmarkInputs(std::function<std::uint64_t()> step) {
    Clock& clock = *platform_.clock;
    if (!step) {
        step = [&clock] { return benchLoop(1, clock.now()); };
    }
    return BenchmarkInputs{.clock = clock,
                           .scheduler = *platform_.scheduler,
                           .systemMask = config_.systemMask,
                           .figures = clockAndLoad_,
                           .control = benchmark_,
                           .step = std::move(step)};
}

SensorTestInputs Engine::sensorTestInputs(std::function<void()> workloadStep) {
    Clock& clock = *platform_.clock;
    if (!workloadStep) {
        workloadStep = [&clock] { benchLoop(1, clock.now()); };
    }
    const ClockState& figures = clock_.clockState();
    return SensorTestInputs{.edition = edition_,
                            .access = access_,
                            .coreMap = config_.coreMap,
                            .scheduler = *platform_.scheduler,
                            .launcher = platform_.launcher.get(),
                            .averageLoad = [&figures] { return currentLoad(false, 0.0, figures); },
                            .workloadStep = std::move(workloadStep)};
}

bool Engine::resetStatistics() {
    if (!monitoring()) {
        return false;
    }
    if (benchmark_.running()) {
        benchmark_.requestStop();
        return false;
    }
    const std::time_t now = platform_.clock->now();
    calidus::resetStatistics(state_, now);
    gpu_.reset(now);
    clock_.resetRunTime(state_);
    formatTexts();
    window_.refreshWindow();
    return true;
}

// The fixed order of shutdown, with one change: the settings file is written after the
// processor is restored and the driver stopped, so that a save that fails (a full disk, no
// memory for a huge file) can never leave clock modulation on. The log is flushed after the
// exit save and the GPU sources are released after clock modulation is switched off.
void Engine::shutdown() {
    // Done once: the XL edition's unconditional stop request would wait out the whole budget
    // for a clock thread that has already ended.
    if (phase_ == RunPhase::ShutDown) {
        return;
    }
    if (phase_ == RunPhase::Refused) {
        // A refused start read no settings and changed no register, so only the driver goes.
        access_.stopDriver();
    }
    if (!monitoring()) {
        if (phase_ != RunPhase::Constructed) {
            // A start refused or failed late may have started the clock thread.
            stopThreads();
            phase_ = RunPhase::ShutDown;
        }
        return;
    }
    const bool trayIconsAdded = phase_ == RunPhase::Monitoring;
    phase_ = RunPhase::ShutDown;
    RunContext run = context();
    stopThreads();
    clockModAtExit_ = clockModulation_.readAtExit(run);
    log_.shutDown(run);
    if (trayIconsAdded) {
        tray_.removeTrayIcons(settings_.iconShow);
    }
    clockModulation_.shutDown(run);
    gpu_.shutDown(run);
    access_.stopDriver();
    saveExitKeys();
}

// A source brought up by the box reads its period and freeze switch from the file again.
GpuBoxOutcome Engine::setAtiBox(bool checked) {
    const bool existed = gpu_.ati() != nullptr;
    RunContext run = context();
    const GpuBoxOutcome outcome = gpu_.setAtiBox(run, checked);
    if (!existed && outcome == GpuBoxOutcome::Running) {
        const AtiSensorKeys keys = readAtiSensorKeys(ProfileFile::load(settingsFile_));
        live_.set(KeyId::PollInterval, keys.pollInterval);
        live_.set(KeyId::DisableSensor, keys.disableSensor ? 1 : 0);
    }
    return outcome;
}

GpuBoxOutcome Engine::setNvidiaBox(bool checked) {
    RunContext run = context();
    return gpu_.setNvidiaBox(run, checked);
}

// A thread still running when the budget is spent is joined all the same: it uses what the
// engine is about to let go, and every wait of the threads is short.
void Engine::stopThreads() {
    stopWorkerThreads(
        threads_, *platform_.scheduler,
        {.requestClockStopUnconditionally = edition_.stopsClockThreadUnconditionally});
    RunContext run = context();
    load_.shutDown(run);
    clock_.shutDown(run);
}

// A failed write leaves the file as it was; the run ends either way, and says so.
void Engine::saveExitKeys() {
    if (settingsFile_.empty()) {
        return;
    }
    ReplaceResult saved;
    try {
        const WindowPositionAtExit window = window_.windowPositionAtExit();
        saved = saveOnExit(settingsFile_, {.windowTopLeft = window.topLeft,
                                           .compositionShift = window.compositionShift,
                                           .anchor = window.anchor,
                                           .previousAnchor = window.previousAnchor,
                                           .miniMode = settings_.miniMode,
                                           .iconShow = settings_.iconShow,
                                           .clockModulationRegister = clockModAtExit_});
    } catch (const std::exception& error) {
        saved = {ReplaceFailure::WriteFailed, error.what()};
    }
    if (!saved) {
        exitSaveFailed_ = true;
        window_.reportProblem(std::string(edition_.programName) + ": " +
                              saveProblemText(settingsFile_, saved));
    }
}

}  // namespace calidus
