#include "ui/WindowFrontEnd.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "RecordingShell.h"
#include "SimulatedEngine.h"
#include "TrayTestApp.h"

namespace calidus {
namespace {

// A refused processor's box waits for the person; a stop request must still end the run.
TEST(WindowFrontEnd, AStopRequestClosesAStartUpBox) {
    testing::ensureApplication();
    testing::FakeMachine host;
    Platform platform = testing::simulatedPlatform(host, "phenom");
    testing::RecordingShell shell;
    int wake[2];
    ASSERT_EQ(pipe(wake), 0);
    bool stop = false;
    bool boxSeen = false;
    QTimer signalArrives;
    signalArrives.setSingleShot(true);
    QObject::connect(&signalArrives, &QTimer::timeout, [&] {
        boxSeen = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr;
        stop = true;
        const char byte = 1;
        ASSERT_EQ(write(wake[1], &byte, 1), 1);
    });
    signalArrives.start(50);
    {
        WindowFrontEnd frontEnd(Edition::standard(), platform, shell, {});
        WindowRun run;
        run.stopRequested = [&] { return stop; };
        run.stopDescriptor = wake[0];
        EXPECT_EQ(frontEnd.run(run), 0);
        EXPECT_EQ(frontEnd.engine().phase(), RunPhase::ShutDown);
    }
    EXPECT_TRUE(boxSeen);
    close(wake[0]);
    close(wake[1]);
}

}  // namespace
}  // namespace calidus
