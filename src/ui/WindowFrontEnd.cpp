#include "ui/WindowFrontEnd.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdlib>
#include <iostream>

#include "ui/AtiInfoWindow.h"
#include "ui/HistoryWindow.h"
#include "ui/MainWindow.h"
#include "ui/NvidiaInfoWindow.h"
#include "ui/QtSoundPlayer.h"
#include "ui/SensorTestWindow.h"
#include "ui/SettingsWindow.h"
#include "ui/TrayIconSet.h"
#include "view/GpuWindowChoice.h"

namespace calidus {

namespace {

// Not QApplication::quit: that first closes every top-level window, and a main window that
// minimizes on close would cancel it, while the tray icons' own windows went away.
void endRun() {
    QCoreApplication::exit(0);
}

}  // namespace

// Qt aborts when it finds no display, so the caller asks first.
bool windowDisplayAvailable() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

WindowFrontEnd::WindowFrontEnd(const Edition& edition, Platform& platform, Shell& shell,
                               EngineSettings settings)
    : edition_(edition),
      platform_(platform),
      shell_(shell),
      engine_(edition, platform, *this, *this, std::move(settings)),
      window_(std::make_unique<MainWindow>(edition, engine_.settings(), shell, *platform.clock)),
      tray_(std::make_unique<TrayIconSet>(
          edition, engine_.settings(), engine_.state(), engine_.configuration(), engine_.texts(),
          *window_,
          [&platform](std::chrono::milliseconds wait) { platform.scheduler->sleep(wait); })) {
    window_->bindEngine(&engine_);
    window_->setTrayLink(tray_->link());
    QObject::connect(window_.get(), &MainWindow::gpuButtonPressed, window_.get(),
                     [this] { openGpuWindows(); });
    QObject::connect(window_.get(), &MainWindow::historyRequested, window_.get(),
                     [this] { openHistory(); });
    QObject::connect(window_.get(), &MainWindow::sensorTestPressed, window_.get(),
                     [this] { openSensorTest(); });
    QObject::connect(window_.get(), &MainWindow::settingsRequested, window_.get(),
                     [this] { openSettings(); });
}

WindowFrontEnd::~WindowFrontEnd() {
    closeSensorTest();
    closeGpuWindows();
    delete historyWindow_;
    engine_.shutdown();
}

namespace {

// The window clears the pointer to itself when it goes.
template <typename Window>
void openOrRaise(Window*& window, const std::function<Window*()>& make) {
    if (window == nullptr) {
        window = make();
        QObject::connect(window, &QObject::destroyed, [&window] { window = nullptr; });
    }
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

void WindowFrontEnd::openGpuWindows() {
    GpuSources& gpu = engine_.gpuSources();
    const GpuWindowChoice choice =
        gpuButtonChoice(gpu.ati() != nullptr, gpu.nvidia() != nullptr, atiWindow_ != nullptr);
    if (choice.ati) {
        openOrRaise<AtiInfoWindow>(atiWindow_, [this] {
            return new AtiInfoWindow(edition_, engine_, *platform_.clock, window_.get());
        });
    }
    if (choice.nvidia) {
        openOrRaise<NvidiaInfoWindow>(nvidiaWindow_, [this] {
            return new NvidiaInfoWindow(edition_, engine_, *platform_.clock, window_.get());
        });
    }
}

void WindowFrontEnd::openHistory() {
    openOrRaise<HistoryWindow>(historyWindow_, [this] {
        return new HistoryWindow(edition_, engine_, *platform_.clock, window_.get());
    });
}

void WindowFrontEnd::openSettings(const std::function<void(SettingsWindowLinks&)>& prepare) {
    if (settingsWindow_ != nullptr || !engine_.monitoring()) {
        return;
    }
    SettingsWindowLinks links{
        .setIconShown = [this](int slot, bool on) { tray_->icons().setIconShown(slot, on); },
        .redrawTray = [this] { tray_->icons().requestFullRedraw(); },
        .appearanceChanged = [this] { window_->applyAppearance(); },
        .messages = {},
        .chooseFile = {},
        .chooseColour = {},
        .chooseFont = {},
        .mainWindow = window_->windowRect(),
        .composition = shell_.compositionWithInvisibleBorders(),
        .home = QDir::homePath().toStdString(),
    };
    if (prepare) {
        prepare(links);
    }
    window_->settingsOpened();
    SettingsWindow settings(engine_, std::move(links), window_.get());
    settingsWindow_ = &settings;
    const bool ok = settings.exec() == QDialog::Accepted;
    settingsWindow_ = nullptr;
    if (ok) {
        engine_.settingsClosedWithOk(settings.unitChanged());
    }
    window_->settingsClosed(ok);
}

void WindowFrontEnd::closeGpuWindows() {
    if (atiWindow_ != nullptr) {
        atiWindow_->close();
        delete atiWindow_;
    }
    if (nvidiaWindow_ != nullptr) {
        nvidiaWindow_->close();
        delete nvidiaWindow_;
    }
}

void WindowFrontEnd::openSensorTest() {
    if (sensorTestWindow_ != nullptr || !engine_.monitoring()) {
        return;
    }
    window_->setSensorTestOpen(true);
    const ScreenRect mainRect = window_->windowRect();
    sensorTestWindow_ = new SensorTestWindow(edition_, engine_.sensorTestInputs(workloadStep_),
                                             shell_, window_.get());
    // Its end restores the clock modulation and ends the stress program; one still waiting
    // for that at the end of the run is ended before the engine.
    QObject::connect(sensorTestWindow_, &QObject::destroyed, window_.get(),
                     [this] { sensorTestWindow_ = nullptr; });
    QObject::connect(sensorTestWindow_, &QDialog::finished, sensorTestWindow_, [this] {
        sensorTestWindow_->deleteLater();
        window_->setSensorTestOpen(false);
    });
    sensorTestWindow_->placeBeside(mainRect, shell_.compositionWithInvisibleBorders());
    sensorTestWindow_->show();
    sensorTestWindow_->begin();
}

void WindowFrontEnd::closeSensorTest() {
    delete sensorTestWindow_;
}

int WindowFrontEnd::run(const WindowRun& run) {
    // Watched from before start-up, so a stop signal also closes a start-up message box.
    bool stopped = false;
    QSocketNotifier stopWatch(run.stopDescriptor, QSocketNotifier::Read);
    stopWatch.setEnabled(run.stopDescriptor >= 0);
    QObject::connect(&stopWatch, &QSocketNotifier::activated, qApp, [&] {
        if (!run.stopRequested || !run.stopRequested()) {
            return;
        }
        stopWatch.setEnabled(false);
        stopped = true;
        if (QWidget* box = QApplication::activeModalWidget(); box != nullptr) {
            box->close();
        }
        endRun();
    });
    const StartResult started = engine_.start();
    if (started.outcome != StartOutcome::Ready || stopped) {
        // The message was shown; a refused processor still ends through the shutdown.
        engine_.shutdown();
        return 0;
    }
    window_->prepareForStart();
    window_->show();

    long long ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, qApp, [&] {
        engine_.runTick();
        timer.setInterval(int(engine_.tickPeriod().count()));
        if (run.ticks && ++ticks >= *run.ticks) {
            endRun();
        }
    });
    QObject::connect(window_.get(), &MainWindow::exitRequested, qApp, endRun);
    timer.start(int(Engine::kFirstTickDelay.count()));
    QApplication::exec();

    timer.stop();
    closeSensorTest();
    closeGpuWindows();
    delete historyWindow_;
    window_->stopBenchmark();
    window_->hide();
    engine_.shutdown();
    return 0;
}

void WindowFrontEnd::showMessage(const std::string& caption, const std::string& text,
                                 MessageIcon icon) {
    window_->showMessage(caption, text, icon);
}

void WindowFrontEnd::placeWindow() {
    window_->placeFromSavedPosition();
}

void WindowFrontEnd::enterMiniMode() {
    window_->enterSavedMiniMode();
}

void WindowFrontEnd::minimizeWindow() {
    window_->minimize();
}

void WindowFrontEnd::refreshWindow() {
    window_->refreshFromEngine();
    if (historyWindow_ != nullptr) {
        historyWindow_->refresh();
    }
}

void WindowFrontEnd::reportProblem(const std::string& text) {
    std::cerr << text << std::endl;
}

void WindowFrontEnd::restoreWindow() {
    window_->restore();
}

// The window manager marks the window as wanting attention; a hidden window cannot be marked,
// which the restore at the latch has taken care of.
void WindowFrontEnd::flashWindow() {
    QApplication::alert(window_.get());
}

WindowPositionAtExit WindowFrontEnd::windowPositionAtExit() {
    return window_->positionAtExit();
}

IconShow WindowFrontEnd::addTrayIcons(IconShow iconShow) {
    return tray_->addTrayIcons(iconShow);
}

void WindowFrontEnd::removeTrayIcons(IconShow iconShow) {
    tray_->removeTrayIcons(iconShow);
}

void WindowFrontEnd::refreshTray() {
    tray_->refreshTray();
}

int runWindowFrontEnd(const Edition& edition, Platform& platform, WindowRun run, int& argc,
                      char** argv) {
    QApplication app(argc, argv);
    // A window hidden in the tray is still running; only Exit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    // Lets the desktop match the window to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(
        QStringLiteral("org.example.calidus.") +
        QString::fromUtf8(edition.programName.data(),
                          static_cast<qsizetype>(edition.programName.size())));
    if (!run.startupProblem.empty()) {
        QMessageBox::critical(
            nullptr,
            QString::fromUtf8(edition.programName.data(), qsizetype(edition.programName.size())),
            QString::fromStdString(run.startupProblem));
        return 2;
    }
    platform.sound = std::make_unique<QtSoundPlayer>();
    int code = 0;
    {
        WindowFrontEnd frontEnd(edition, platform, *platform.shell, std::move(run.engineSettings));
        code = frontEnd.run(run);
    }
    // Qt's player cannot outlive the application.
    platform.sound.reset();
    return code;
}

}  // namespace calidus
