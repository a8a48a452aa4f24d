#include "ui/WindowFrontEnd.h"

#include <QApplication>
#include <QTimer>
#include <cstdlib>

#include "app/Engine.h"
#include "platform/linux/LinuxShell.h"
#include "ui/MainWindow.h"
#include "ui/QtDesktop.h"
#include "ui/TrayIconSet.h"

namespace calidus {

namespace {

constexpr int kStopPollMs = 100;

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

int runWindowFrontEnd(const Edition& edition, Platform& platform, WindowRun run, int& argc,
                      char** argv) {
    QApplication app(argc, argv);
    // A window hidden in the tray is still running; only Exit ends the program.
    app.setQuitOnLastWindowClosed(false);
    LinuxShell shell;
    QtDesktop desktop;
    Engine engine(edition, platform, desktop, std::move(run.engineSettings));
    MainWindow window(edition, engine.settings(), shell);
    desktop.attach(window);
    window.bindEngine(&engine);

    const StartResult started = engine.start();
    if (started.outcome != StartOutcome::Ready) {
        // The message was shown; a refused processor still ends through the shutdown.
        engine.shutdown();
        return 0;
    }
    TrayIconSet tray(
        edition, engine.settings(), engine.state(), window,
        [&platform](std::chrono::milliseconds wait) { platform.scheduler->sleep(wait); });
    desktop.setTrayCalls(tray.calls());
    window.setTrayLink(tray.link());
    window.prepareForStart();
    window.show();

    long long ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &app, [&] {
        engine.runTick();
        timer.setInterval(int(engine.tickPeriod().count()));
        if (run.ticks && ++ticks >= *run.ticks) {
            app.quit();
        }
    });
    QObject::connect(&window, &MainWindow::exitRequested, &app, &QApplication::quit);
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, &app, [&] {
        if (run.stopRequested && run.stopRequested()) {
            app.quit();
        }
    });
    stopWatch.start(kStopPollMs);
    timer.start(int(Engine::kFirstTickDelay.count()));
    app.exec();

    timer.stop();
    window.hide();
    engine.shutdown();
    return 0;
}

}  // namespace calidus
