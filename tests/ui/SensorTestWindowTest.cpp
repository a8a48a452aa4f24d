#include "ui/SensorTestWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "RecordingShell.h"
#include "SimulatedEngine.h"
#include "TrayTestApp.h"
#include "common/Registers.h"
#include "support/TempFolder.h"
#include "ui/MainWindow.h"
#include "ui/WindowFrontEnd.h"
#include "view/SensorTestLayout.h"

namespace calidus {
namespace {

QString text(const QWidget& window, int id) {
    const auto* label = window.findChild<QLabel*>(QStringLiteral("c%1").arg(id));
    return label != nullptr ? label->text() : QStringLiteral("<none>");
}

QPushButton* button(const QWidget& window, int id) {
    return window.findChild<QPushButton*>(QStringLiteral("c%1").arg(id));
}

void settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
}

// The main window's button opens the window beside it; the movement test, Start with a stand-in
// program, a tick, and the close that gives back the modulation found at opening.
TEST(SensorTestWindow, OpensFromTheMainWindowRunsAndRestoresOnClose) {
    testing::ensureApplication();
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        testing::FakeMachine host;
        std::atomic<double> load{10};
        Platform platform = testing::describedPlatform(
            host, testing::builtInDescription(testing::modelFor(*edition)),
            std::make_unique<testing::HostLoad>(load));
        testing::TempFolder files;
        const std::string settingsName = std::string(edition->programName) + ".ini";
        testing::TempFolder::write(files / settingsName, "[Calidus]\nClockMod=24\n");
        testing::RecordingShell shell;
        WindowFrontEnd frontEnd(*edition, platform, shell, {.file = files / settingsName});
        frontEnd.setWorkloadStep([] {});
        ASSERT_EQ(frontEnd.engine().start().outcome, StartOutcome::Ready);
        MainWindow& main = frontEnd.mainWindow();
        main.show();
        const auto sensorButton = [&] { return main.findChild<QPushButton*>("c1045"); };
        sensorButton()->click();
        SensorTestWindow* window = frontEnd.sensorTestWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(sensorButton()->text(), "Testing...");
        EXPECT_FALSE(sensorButton()->isEnabled());
        EXPECT_TRUE(window->isModal());
        EXPECT_EQ(window->windowTitle(), "Sensor Test");
        EXPECT_EQ(window->y(), main.windowRect().top);

        const SensorTestControls& ids = sensorTestControls(*edition);
        load = 100;
        platform.scheduler->sleep(std::chrono::seconds(4));
        window->movementTimer().start(0);
        settle();
        load = 10;
        for (const int id : ids.movement) {
            EXPECT_NE(text(*window, id), "") << id;
            EXPECT_NE(text(*window, id), "0") << id;
        }
        EXPECT_EQ(text(*window, ids.status), "Press Start to begin a 10 minute sensor test.");
        EXPECT_FALSE(button(*window, ids.stop)->isEnabled());

        window->setProgramChooser([] { return QStringLiteral("mprime"); });
        button(*window, ids.start)->click();
        EXPECT_EQ(text(*window, ids.status), "Run Small FFTs");
        EXPECT_TRUE(button(*window, ids.stop)->isEnabled());
        EXPECT_FALSE(button(*window, ids.start)->isEnabled());
        platform.scheduler->sleep(std::chrono::seconds(1));
        window->testTimer().start(0);
        settle();
        EXPECT_GT(window->test().tickCount(), 0);
        EXPECT_EQ(window->findChild<QProgressBar*>("progress")->value(),
                  window->test().tickCount());

        window->close();
        settle();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(frontEnd.sensorTestWindow(), nullptr);
        EXPECT_EQ(sensorButton()->text(), "Sensor Test");
        EXPECT_TRUE(sensorButton()->isEnabled());
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        ASSERT_TRUE(platform.driver->readMsr(1, msr::kClockModulation, low, high));
        EXPECT_EQ(low, 0x18u) << edition->programName;
    }
}

}  // namespace
}  // namespace calidus
