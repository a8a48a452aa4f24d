// Renders the main window of both editions, normal and compact, the GPU information windows, the
// Sensor Test window and the benchmark's score after a few ticks on the simulated machine, and the
// History window after twelve minutes. Run by scripts/screenshots under a window manager, which
// names the folder and may name the font family (CALIDUS_SCREENSHOT_FONT) and the scale; not part
// of the suite.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "RecordingShell.h"
#include "SimulatedEngine.h"
#include "TrayTestApp.h"
#include "WindowTestPorts.h"
#include "support/TempFolder.h"
#include "tools/BenchmarkRun.h"
#include "ui/AtiInfoWindow.h"
#include "ui/HistoryWindow.h"
#include "ui/MainWindow.h"
#include "ui/NvidiaInfoWindow.h"
#include "ui/SensorTestWindow.h"
#include "ui/SettingsWindow.h"
#include "ui/WindowFrontEnd.h"

namespace calidus {
namespace {

// Under a window manager the window shows, and takes its compact size, a little later.
void settle(const QWidget& window, QSize size) {
    QElapsedTimer clock;
    clock.start();
    while (!(window.windowHandle()->isExposed() && window.size() == size) &&
           clock.elapsed() < 2000) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

void render(const Edition& edition, const std::function<void(Settings&)>& look,
            const QString& folder, const QString& name) {
    testing::FakeMachine host;
    Platform platform = testing::simulatedPlatform(host, testing::modelFor(edition));
    testing::RecordingShell shell;
    testing::WindowTestPorts desktop;
    Engine engine(edition, platform, desktop, desktop);
    MainWindow window(edition, engine.settings(), shell, *platform.clock);
    desktop.attach(window);
    window.setTrayLink({[] { return true; }, [] { return false; }});
    window.bindEngine(&engine);
    ASSERT_EQ(engine.start().outcome, StartOutcome::Ready);
    Settings looks = *engine.settings();
    look(looks);
    engine.settings().assign(looks);
    window.prepareForStart();
    window.show();
    // Time passes through the machine's sleeps, so that the clock thread calibrates meanwhile.
    host.awaitSleepingWorkers(1);
    for (int tick = 0; tick < 5; ++tick) {
        platform.scheduler->sleep(std::chrono::seconds(1));
        ++host.now;
        engine.runTick();
    }
    settle(window, window.size());
    EXPECT_TRUE(window.grab().save(folder + "/" + name + "-normal.png"));
    window.toggleMiniMode();
    settle(window, window.minimumSize());
    EXPECT_TRUE(window.grab().save(folder + "/" + name + "-mini.png"));
    engine.shutdown();
}

// The main window with its GPU button and both information windows, on an i7-920 with a card of
// each vendor.
void renderGpu(const Edition& edition, const QString& folder, const QString& name) {
    testing::FakeMachine host;
    host.now = 1'700'006'400 + 12 * 3600;
    Platform platform = testing::describedPlatform(
        host, testing::builtInDescription("i7-920-nvidia") +
                  "[Gpu.1]\nVendor=ati\nName=ATI Radeon HD 4800 Series\nTemperature=61\n"
                  "Outputs=2\nCoreClock=750\nMemoryClock=900\nVoltage=1263\nLinkWidth=16\n");
    testing::TempFolder files;
    testing::TempFolder::write(files / "Calidus.ini", "[Calidus]\nGPU=3\nIconShow=17\n");
    testing::RecordingShell shell;
    testing::WindowTestPorts desktop;
    Engine engine(edition, platform, desktop, desktop, {.file = files / "Calidus.ini"});
    MainWindow window(edition, engine.settings(), shell, *platform.clock);
    desktop.attach(window);
    window.setTrayLink({[] { return true; }, [] { return false; }});
    window.bindEngine(&engine);
    ASSERT_EQ(engine.start().outcome, StartOutcome::Ready);
    window.prepareForStart();
    window.show();
    for (int tick = 0; tick < 5; ++tick) {
        host.counter += 1'000'000;
        ++host.now;
        engine.runTick();
    }
    settle(window, window.size());
    EXPECT_TRUE(window.grab().save(folder + "/" + name + "-gpu.png"));
    {
        AtiInfoWindow ati(edition, engine, *platform.clock);
        ati.show();
        settle(ati, ati.size());
        EXPECT_TRUE(ati.grab().save(folder + "/" + name + "-ati-info.png"));
        NvidiaInfoWindow nvidia(edition, engine, *platform.clock);
        nvidia.show();
        settle(nvidia, nvidia.size());
        EXPECT_TRUE(nvidia.grab().save(folder + "/" + name + "-nvidia-info.png"));
    }
    engine.shutdown();
}

// A load script of idle, busy and half-busy stretches, one value a second, for a curve to show.
std::string varyingLoad(int seconds) {
    std::string values;
    for (int second = 0; second < seconds; ++second) {
        const int phase = second % 360;
        values += (values.empty() ? "" : ",") + std::to_string(phase < 90    ? 5
                                                               : phase < 200 ? 100
                                                               : phase < 280 ? 40
                                                                             : 10);
    }
    return "[Load]\nAll=" + values + "\n";
}

// The History window after twelve minutes of ticks, with an NVIDIA card warming up.
void renderHistory(const Edition& edition, const QString& folder, const QString& name) {
    constexpr int kTicks = 720;
    testing::FakeMachine host;
    host.now = 1'700'006'400 + 12 * 3600;
    std::string gpuTemperatures;
    for (int tick = 0; tick <= kTicks; ++tick) {
        gpuTemperatures += (tick == 0 ? "" : ",") + std::to_string(48 + tick / 40);
    }
    Platform platform = testing::describedPlatform(
        host, testing::builtInDescription(testing::modelFor(edition)) + varyingLoad(kTicks) +
                  "[Gpu.0]\nVendor=nvidia\nName=GeForce GTX 285\nTemperature=" + gpuTemperatures +
                  "\n");
    testing::TempFolder files;
    const auto settings = files / (std::string(edition.programName) + ".ini");
    testing::TempFolder::write(settings, "[Calidus]\nGPU=1\nAlarm1=70\nAlarm2=80\n");
    testing::RecordingShell shell;
    testing::WindowTestPorts desktop;
    Engine engine(edition, platform, desktop, desktop, {.file = settings});
    MainWindow window(edition, engine.settings(), shell, *platform.clock);
    desktop.attach(window);
    window.bindEngine(&engine);
    ASSERT_EQ(engine.start().outcome, StartOutcome::Ready);
    host.awaitSleepingWorkers(1);
    for (int tick = 0; tick < kTicks; ++tick) {
        platform.scheduler->sleep(std::chrono::seconds(1));
        ++host.now;
        engine.runTick();
    }
    HistoryWindow history(edition, engine, *platform.clock);
    history.show();
    history.setSpan(HistorySpan::WholeRing);
    settle(history, history.size());
    EXPECT_TRUE(history.grab().save(folder + "/" + name + "-history.png"));
    engine.shutdown();
}

// Saves the first modal window that shows while it lives, then closes it.
class ModalCapture {
  public:
    explicit ModalCapture(QString file) : file_(std::move(file)) {
        QObject::connect(&watch_, &QTimer::timeout, [this] { capture(); });
        watch_.start(50);
    }
    ~ModalCapture() { EXPECT_TRUE(saved_) << file_.toStdString(); }

  private:
    void capture() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || saved_) {
            return;
        }
        QElapsedTimer shown;
        shown.start();
        while (!dialog->windowHandle()->isExposed() && shown.elapsed() < 2000) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        saved_ = dialog->grab().save(file_);
        watch_.stop();
        dialog->reject();
    }

    QString file_;
    QTimer watch_;
    bool saved_ = false;
};

// The Sensor Test window after its movement test and after a whole cool-down run under a
// stand-in stress program, through the front end, and a benchmark's score box.
void renderTools(const Edition& edition, const QString& folder, const QString& name) {
    testing::FakeMachine host;
    std::atomic<double> load{4};
    Platform platform =
        testing::describedPlatform(host, testing::builtInDescription(testing::modelFor(edition)),
                                   std::make_unique<testing::HostLoad>(load));
    testing::RecordingShell shell;
    WindowFrontEnd frontEnd(edition, platform, shell, {});
    frontEnd.setWorkloadStep([] {});
    ASSERT_EQ(frontEnd.engine().start().outcome, StartOutcome::Ready);
    MainWindow& main = frontEnd.mainWindow();
    main.setTrayLink({[] { return true; }, [] { return false; }});
    main.prepareForStart();
    main.show();
    main.move(40, 40);
    host.awaitSleepingWorkers(1);
    const auto second = [&] {
        platform.scheduler->sleep(std::chrono::seconds(1));
        ++host.now;
    };
    for (int tick = 0; tick < 5; ++tick) {
        second();
        frontEnd.engine().runTick();
    }
    settle(main, main.size());

    frontEnd.openSensorTest();
    SensorTestWindow* window = frontEnd.sensorTestWindow();
    ASSERT_NE(window, nullptr);
    load = 100;  // the movement test's threads
    for (int tick = 0; tick < 4; ++tick) {
        second();
    }
    window->movementTimer().start(0);
    settle(*window, window->size());
    load = 4;
    EXPECT_TRUE(window->grab().save(folder + "/" + name + "-sensor-test.png"));

    {
        // The file dialog with its note on the arguments, cancelled.
        ModalCapture dialogWatch(folder + "/" + name + "-sensor-test-open.png");
        window->findChild<QPushButton*>("c1120")->click();
    }
    window->setProgramChooser([] { return QStringLiteral("mprime"); });
    window->findChild<QPushButton*>("c1120")->click();
    // One tick of the test for each simulated second.
    QObject::connect(&window->testTimer(), &QTimer::timeout,
                     [window] { window->testTimer().stop(); });
    QElapsedTimer limit;
    limit.start();
    while (window->test().running() && limit.elapsed() < 60000) {
        second();
        frontEnd.engine().runTick();
        const int done = window->test().tickCount();
        window->testTimer().start(0);
        while (window->test().tickCount() == done && limit.elapsed() < 60000) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
    }
    settle(*window, window->size());
    EXPECT_TRUE(window->grab().save(folder + "/" + name + "-sensor-test-done.png"));
    window->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The score box is modal: taken and closed while it waits.
    ModalCapture boxWatch(folder + "/" + name + "-bench-score.png");
    const BenchmarkResult result{.seconds = 7.315,
                                 .maxCoreMHz = 2933.42,
                                 .performanceTimer = true,
                                 .checksumPass = true,
                                 .cancelled = false,
                                 .stepsDone = kBenchmarkSteps};
    main.showMessage("Tovel Bench Score", benchmarkText(result, edition), MessageIcon::Information);
}

// The Settings window over a main window, on the machine each edition is built for.
void renderSettings(const Edition& edition, const QString& folder, const QString& name) {
    testing::FakeMachine host;
    Platform platform = testing::simulatedPlatform(host, testing::modelFor(edition));
    testing::TempFolder files;
    testing::TempFolder::write(files / "Calidus.ini",
                               "[Calidus]\nAlarm=1\nLogFile=1\nIdle1=-1.5\nClockMod=26\n");
    testing::RecordingShell shell;
    testing::WindowTestPorts desktop;
    Engine engine(edition, platform, desktop, desktop, {.file = files / "Calidus.ini"});
    MainWindow window(edition, engine.settings(), shell, *platform.clock);
    desktop.attach(window);
    window.bindEngine(&engine);
    ASSERT_EQ(engine.start().outcome, StartOutcome::Ready);
    engine.runTick();
    SettingsWindow settings(engine, {});
    settings.show();
    settle(settings, settings.size());
    EXPECT_TRUE(settings.grab().save(folder + "/" + name + "-settings.png"));
    settings.reject();
    engine.shutdown();
}

TEST(Screenshots, DISABLED_NormalAndCompactFormsOfBothEditions) {
    const char* folder = std::getenv("CALIDUS_SCREENSHOT_DIR");
    if (folder == nullptr) {
        GTEST_SKIP() << "CALIDUS_SCREENSHOT_DIR names the folder for the pictures";
    }
    // A desktop that has only this family for the names the windows ask for.
    if (const char* family = std::getenv("CALIDUS_SCREENSHOT_FONT"); family != nullptr) {
        for (const char* asked : {"Tahoma", "Microsoft Sans Serif", "MS Sans Serif"}) {
            QFont::insertSubstitution(QString::fromLatin1(asked), QString::fromUtf8(family));
        }
    }
    testing::ensureApplication();
    QDir().mkpath(folder);
    const auto plain = [](Settings&) {};
    render(Edition::standard(), plain, folder, "calidus");
    render(Edition::xl(), plain, folder, "calidus-xl");
    render(
        Edition::standard(),
        [](Settings& s) {
            s.customGUI = s.customGUIMini = true;
            s.guiColor = s.guiMiniColor = 0x302010;
            s.guiText = s.guiMiniText = 0x40E0FF;
            s.normHeading = s.miniHeading = true;
            s.guiNormHead = s.guiMiniHead = 0x80FF80;
        },
        folder, "calidus-coloured");
    renderGpu(Edition::standard(), folder, "calidus");
    renderGpu(Edition::xl(), folder, "calidus-xl");
    renderHistory(Edition::standard(), folder, "calidus");
    renderHistory(Edition::xl(), folder, "calidus-xl");
    renderTools(Edition::standard(), folder, "calidus");
    renderTools(Edition::xl(), folder, "calidus-xl");
    renderSettings(Edition::standard(), folder, "calidus");
    renderSettings(Edition::xl(), folder, "calidus-xl");
}

}  // namespace
}  // namespace calidus
