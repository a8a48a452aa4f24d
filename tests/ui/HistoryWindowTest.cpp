#include "ui/HistoryWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>

#include "MenuItem.h"
#include "RecordingShell.h"
#include "SimulatedEngine.h"
#include "TrayTestApp.h"
#include "support/TempFolder.h"
#include "ui/MainWindow.h"
#include "ui/WindowFrontEnd.h"

namespace calidus {
namespace {

// Ticks before the window opens are in it; it follows the ticks while open, saves what it
// shows, and once closed is gone.
TEST(HistoryWindow, OpensFromTheContextMenuFollowsTheTicksAndIsGoneOnceClosed) {
    testing::ensureApplication();
    testing::FakeMachine host;
    Platform platform = testing::simulatedPlatform(host, "i7-920");
    testing::RecordingShell shell;
    WindowFrontEnd frontEnd(Edition::standard(), platform, shell, {});
    ASSERT_EQ(frontEnd.engine().start().outcome, StartOutcome::Ready);
    const auto tick = [&] {
        ++host.now;
        frontEnd.engine().runTick();
    };
    tick();
    tick();
    testing::triggerMenuItem(frontEnd.mainWindow().contextMenu(), QStringLiteral("History"));
    HistoryWindow* history = frontEnd.historyWindow();
    ASSERT_NE(history, nullptr);
    EXPECT_TRUE(history->isVisible());
    EXPECT_EQ(history->chart().points.size(), 2u);
    EXPECT_EQ(history->chart().cores, (std::vector<int>{0, 1, 2, 3}));
    tick();
    EXPECT_EQ(history->chart().points.size(), 3u);
    EXPECT_EQ(history->chart().points.back().time, host.now);

    testing::TempFolder folder;
    ASSERT_TRUE(history->saveCsv(folder / "history.csv"));
    const std::string csv = testing::TempFolder::read(folder / "history.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);
    EXPECT_FALSE(history->saveCsv(folder / "missing" / "history.csv"));

    history->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frontEnd.historyWindow(), nullptr);
    tick();
    EXPECT_EQ(frontEnd.engine().history().size(), 4u);
}

}  // namespace
}  // namespace calidus
