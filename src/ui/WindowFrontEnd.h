#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/Engine.h"
#include "app/EngineSettings.h"
#include "app/TrayPort.h"
#include "app/WindowPort.h"
#include "common/Edition.h"
#include "platform/Platform.h"
#include "platform/Shell.h"

namespace calidus {

class AtiInfoWindow;
class HistoryWindow;
class MainWindow;
class NvidiaInfoWindow;
class SensorTestWindow;
class SettingsWindow;
struct SettingsWindowLinks;
class TrayIconSet;

struct WindowRun {
    EngineSettings engineSettings;        // the settings file the engine reads and writes
    std::optional<long long> ticks;       // stop after this many ticks
    std::function<bool()> stopRequested;  // a stop signal arrived
    int stopDescriptor = -1;              // readable once a stop signal arrived
    std::string startupProblem;           // an option that cannot be honoured: shown, then exit
};

// Whether a display is there to open the window on.
bool windowDisplayAvailable();

// The window program: owns the engine and every window of the run, gives the engine its ports
// onto them, and routes the windows' requests. Needs a QApplication.
class WindowFrontEnd : public WindowPort, public TrayPort {
  public:
    WindowFrontEnd(const Edition& edition, Platform& platform, Shell& shell,
                   EngineSettings settings);
    ~WindowFrontEnd() override;

    // Starts the engine, drives its timer and ends through the normal shutdown when the window,
    // the tray, a stop signal or the tick limit ends the run. Answers the exit code.
    int run(const WindowRun& run);

    Engine& engine() { return engine_; }
    MainWindow& mainWindow() { return *window_; }
    TrayIconSet& tray() { return *tray_; }
    // The GPU information windows while they are open.
    AtiInfoWindow* atiWindow() const { return atiWindow_; }
    NvidiaInfoWindow* nvidiaWindow() const { return nvidiaWindow_; }
    // The main window's GPU button.
    void openGpuWindows();
    // "History" from either menu; the window while it is open.
    void openHistory();
    HistoryWindow* historyWindow() const { return historyWindow_; }
    // The main window's "Sensor Test" button: the window, modal, beside the main window.
    void openSensorTest();
    SensorTestWindow* sensorTestWindow() const { return sensorTestWindow_; }
    // One step of each movement-test thread; benchLoop(1) when empty.
    void setWorkloadStep(std::function<void()> step) { workloadStep_ = std::move(step); }
    // The main window's "Settings" button: the modal window, then the follow-up of its OK.
    // `prepare` may replace the choosers and message boxes (tests).
    void openSettings(const std::function<void(SettingsWindowLinks&)>& prepare = {});
    // While it is open.
    SettingsWindow* settingsWindow() const { return settingsWindow_; }

    // WindowPort
    void showMessage(const std::string& caption, const std::string& text,
                     MessageIcon icon) override;
    void placeWindow() override;
    void enterMiniMode() override;
    void minimizeWindow() override;
    void refreshWindow() override;
    void reportProblem(const std::string& text) override;
    void restoreWindow() override;
    void flashWindow() override;
    WindowPositionAtExit windowPositionAtExit() override;

    // TrayPort
    IconShow addTrayIcons(IconShow iconShow) override;
    void removeTrayIcons(IconShow iconShow) override;
    void refreshTray() override;

  private:
    // Before the sources they show are let go.
    void closeGpuWindows();
    // Before the engine switches clock modulation off at its end.
    void closeSensorTest();

    const Edition& edition_;
    Platform& platform_;
    Shell& shell_;
    Engine engine_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<TrayIconSet> tray_;
    // Cleared when the window is destroyed.
    AtiInfoWindow* atiWindow_ = nullptr;
    NvidiaInfoWindow* nvidiaWindow_ = nullptr;
    HistoryWindow* historyWindow_ = nullptr;
    SensorTestWindow* sensorTestWindow_ = nullptr;
    std::function<void()> workloadStep_;
    SettingsWindow* settingsWindow_ = nullptr;
};

// The whole window program over a fresh QApplication.
int runWindowFrontEnd(const Edition& edition, Platform& platform, WindowRun run, int& argc,
                      char** argv);

}  // namespace calidus
