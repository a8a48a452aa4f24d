// The window program under a real window manager: openbox on a private Xvfb display with a
// trayer tray, as scripts/wm-display sets them up for ctest's WindowManager test. What the
// window manager made of the window is read back with the X tools, as a user would see it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <functional>
#include <string>

#include "MenuItem.h"
#include "RecordingShell.h"
#include "SimulatedEngine.h"
#include "TrayTestApp.h"
#include "config/ScreenPosition.h"
#include "cpu/ProcessorAccess.h"
#include "measure/ClockModulation.h"
#include "support/TempFolder.h"
#include "ui/MainWindow.h"
#include "ui/TrayIconSet.h"
#include "ui/WindowFrontEnd.h"

namespace calidus {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kClockModulation = 0x19A;

QString output(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(2000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

int number(const QString& text, const QString& label) {
    const QRegularExpression pattern(QRegularExpression::escape(label) + R"(:\s*(-?\d+))");
    return pattern.match(text).captured(1).toInt();
}

// What the X server and the window manager show of a top-level window.
struct XView {
    bool viewable = false;
    bool framed = false;  // the manager told the size of its frame
    QStringList states;   // _NET_WM_STATE
    QRect frame;          // the outer rectangle, the manager's frame included

    bool hasState(const char* name) const { return states.contains(QLatin1String(name)); }
};

XView look(const QWidget& window) {
    // The window's own id goes stale when a change of flags makes Qt create a new X window.
    const QString id = QString::number(window.windowHandle()->winId());
    const QString info = output(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
    const QString props = output(QStringLiteral("xprop"),
                                 {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS"),
                                  QStringLiteral("_NET_WM_STATE")});
    XView view;
    view.viewable = info.contains(QLatin1String("IsViewable"));
    const QRect client(number(info, QStringLiteral("Absolute upper-left X")),
                       number(info, QStringLiteral("Absolute upper-left Y")),
                       number(info, QStringLiteral("Width")),
                       number(info, QStringLiteral("Height")));
    const QRegularExpressionMatch extents =
        QRegularExpression(R"(_NET_FRAME_EXTENTS\(CARDINAL\) = (\d+), (\d+), (\d+), (\d+))")
            .match(props);
    view.framed = extents.hasMatch();
    view.frame = client.adjusted(-extents.captured(1).toInt(), -extents.captured(3).toInt(),
                                 extents.captured(2).toInt(), extents.captured(4).toInt());
    const QRegularExpressionMatch states =
        QRegularExpression(R"(_NET_WM_STATE\(ATOM\) = (.*))").match(props);
    view.states = states.captured(1).split(QStringLiteral(", "), Qt::SkipEmptyParts);
    return view;
}

// Lets the program and the window manager run until `done` holds; short waits, a firm limit.
// Generous, for a loaded machine: each wait ends as soon as its condition holds.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count()) {
            return false;
        }
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void doubleClick(QWidget& window) {
    const QPoint at(150, 150);
    QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(at), QPointF(window.mapToGlobal(at)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
}

// The window as the user sees it: shown at rest, or withdrawn to the tray.
bool shownAtRest(const MainWindow& window) {
    const XView view = look(window);
    return view.viewable && view.framed && !view.hasState("_NET_WM_STATE_HIDDEN");
}
bool withdrawn(const MainWindow& window) {
    return window.isHidden() && !look(window).viewable;
}

struct Session {
    WindowFrontEnd& frontEnd;
    int stopWake;  // what a stop signal makes readable
    bool stop = false;

    MainWindow& window() { return frontEnd.mainWindow(); }
    void stopSignal() {
        stop = true;
        const char byte = 1;
        EXPECT_EQ(write(stopWake, &byte, 1), 1);
    }
    QMenu* trayMenu() { return frontEnd.tray().host().menu(); }
};

class WindowManagerTest : public ::testing::TestWithParam<const Edition*> {
  protected:
    void SetUp() override {
        testing::ensureApplication();
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            GTEST_SKIP() << "needs a window manager: ctest runs these under scripts/wm-display";
        }
    }

    const Edition& edition() const { return *GetParam(); }

    // Runs the window program on the simulated machine with the settings `keys`. Once the first
    // tick has added the tray icons, `script` acts as the user would and ends with a way out;
    // a run that the way out did not end is stopped after a few seconds and fails. Answers the
    // settings file as the shutdown left it.
    std::string runProgram(const std::string& keys, const std::function<void(Session&)>& script) {
        testing::TempFolder folder;
        const std::filesystem::path file = folder / "Calidus.ini";
        testing::TempFolder::write(file, "[Calidus]\r\n" + keys);
        testing::FakeMachine host;
        Platform platform = testing::simulatedPlatform(host, testing::modelFor(edition()));
        testing::RecordingShell shell;
        bool timedOut = false;
        int wake[2];
        EXPECT_EQ(pipe(wake), 0);
        {
            WindowFrontEnd frontEnd(edition(), platform, shell, {.file = file});
            Session session{frontEnd, wake[1]};
            QTimer watchdog;
            watchdog.setSingleShot(true);
            QObject::connect(&watchdog, &QTimer::timeout, [&timedOut] {
                timedOut = true;
                QCoreApplication::exit(1);
            });
            QTimer::singleShot(0, [&] {
                EXPECT_TRUE(waitFor([&] { return frontEnd.engine().state().tickCount > 0; }));
                script(session);
                watchdog.start(3000);
            });
            WindowRun run;
            run.stopRequested = [&session] { return session.stop; };
            run.stopDescriptor = wake[0];
            frontEnd.run(run);
            EXPECT_FALSE(timedOut) << "the way out did not end the program";
            for (int slot = 0; slot < edition().trayIconSlots; ++slot) {
                EXPECT_EQ(frontEnd.tray().host().icon(slot), nullptr) << "tray icon " << slot;
            }
        }
        close(wake[0]);
        close(wake[1]);
        // Every way out leaves clock modulation off; a value that keeps it off is not written.
        ProcessorAccess access(platform);
        const std::uint32_t processors = platform.scheduler->affinityMasks().system;
        for (int cpu = 0; cpu < 32; ++cpu) {
            if ((processors & (1u << cpu)) == 0) {
                continue;
            }
            EXPECT_FALSE(
                modulates(access.readMsr(static_cast<std::uint32_t>(cpu), kClockModulation).low))
                << "processor " << cpu;
        }
        return testing::TempFolder::read(file);
    }

    // The icons of every monitored core.
    std::uint32_t coreIcons() const {
        std::uint32_t mask = 0;
        for (int core : edition().monitoredCores) {
            mask |= 1u << core;
        }
        return mask;
    }
};

enum class WayOut { ContextMenuExit, TrayMenuExit, StopSignal };
enum class WindowState { Shown, Minimized, Hidden, Compact };

TEST_P(WindowManagerTest, EveryWayOutEndsThroughTheShutdownWhateverTheWindowDoes) {
    for (const WayOut way : {WayOut::ContextMenuExit, WayOut::TrayMenuExit, WayOut::StopSignal}) {
        for (const bool minimizeOnClose : {true, false}) {
            for (const WindowState state : {WindowState::Shown, WindowState::Minimized,
                                            WindowState::Hidden, WindowState::Compact}) {
                SCOPED_TRACE(::testing::Message() << "way " << int(way) << ", MinimizeOnClose "
                                                  << minimizeOnClose << ", window " << int(state));
                const std::string keys =
                    "MinimizeOnClose=" + std::to_string(int(minimizeOnClose)) +
                    "\r\nIconShow=" + std::to_string(coreIcons()) +
                    "\r\nClockMod=24\r\nTaskBar=" + (state == WindowState::Minimized ? "1" : "0") +
                    "\r\n";
                const std::string saved = runProgram(keys, [&](Session& session) {
                    MainWindow& window = session.window();
                    switch (state) {
                        case WindowState::Shown:
                            break;
                        case WindowState::Minimized:
                            window.minimize();
                            EXPECT_TRUE(waitFor(
                                [&] { return look(window).hasState("_NET_WM_STATE_HIDDEN"); }));
                            break;
                        case WindowState::Hidden:
                            testing::triggerMenuItem(window.contextMenu(),
                                                     QStringLiteral("Minimize"));
                            EXPECT_TRUE(waitFor([&] { return withdrawn(window); }));
                            break;
                        case WindowState::Compact:
                            doubleClick(window);
                            EXPECT_TRUE(waitFor([&] { return look(window).viewable; }));
                            break;
                    }
                    switch (way) {
                        case WayOut::ContextMenuExit:
                            testing::triggerMenuItem(window.contextMenu(), QStringLiteral("Exit"));
                            break;
                        case WayOut::TrayMenuExit:
                            testing::triggerMenuItem(session.trayMenu(), QStringLiteral("Exit"));
                            break;
                        case WayOut::StopSignal:
                            session.stopSignal();
                            break;
                    }
                });
                EXPECT_NE(saved.find("IconShow=" + std::to_string(coreIcons()) + "\r\n"),
                          std::string::npos)
                    << saved;
                EXPECT_NE(saved.find(state == WindowState::Compact ? "MiniMode=1" : "MiniMode=0"),
                          std::string::npos)
                    << saved;
            }
        }
    }
}

TEST_P(WindowManagerTest, HiddenWindowComesBackFromTheTrayEveryTimeAndStaysOnTop) {
    runProgram("IconShow=1\r\nTaskBar=0\r\nOnTop=1\r\n", [&](Session& session) {
        MainWindow& window = session.window();
        ASSERT_TRUE(waitFor([&] { return look(window).hasState("_NET_WM_STATE_ABOVE"); }));
        int restored = 0;
        int onTop = 0;
        for (int cycle = 0; cycle < 20; ++cycle) {
            testing::triggerMenuItem(window.contextMenu(), QStringLiteral("Minimize"));
            ASSERT_TRUE(waitFor([&] { return withdrawn(window); })) << cycle;
            testing::triggerMenuItem(session.trayMenu(), QStringLiteral("Restore"));
            restored += waitFor([&] { return shownAtRest(window); }) ? 1 : 0;
            onTop += waitFor([&] { return look(window).hasState("_NET_WM_STATE_ABOVE"); });
        }
        EXPECT_EQ(restored, 20) << "restored by the tray menu";
        EXPECT_EQ(onTop, 20) << "on top again after a restore";

        QSystemTrayIcon* icon = session.frontEnd.tray().host().icon(0);
        restored = 0;
        for (int cycle = 0; cycle < 20; ++cycle) {
            emit icon->activated(QSystemTrayIcon::DoubleClick);
            ASSERT_TRUE(waitFor([&] { return withdrawn(window); })) << cycle;
            emit icon->activated(QSystemTrayIcon::DoubleClick);
            restored += waitFor([&] { return shownAtRest(window); }) ? 1 : 0;
        }
        EXPECT_EQ(restored, 20) << "restored by a double-click";

        // From the tray straight into the corner: the frame, title bar and all, meets it.
        testing::triggerMenuItem(window.contextMenu(), QStringLiteral("Minimize"));
        ASSERT_TRUE(waitFor([&] { return withdrawn(window); }));
        testing::triggerMenuItem(session.trayMenu(), QStringLiteral("Move to Top Right"));
        const QRect work = window.screen()->availableGeometry();
        EXPECT_TRUE(waitFor([&] {
            const XView view = look(window);
            return shownAtRest(window) && view.frame.topRight() == work.topRight();
        })) << "frame at "
            << look(window).frame.x() << "," << look(window).frame.y();
        testing::triggerMenuItem(session.trayMenu(), QStringLiteral("Exit"));
    });
}

TEST_P(WindowManagerTest, CompactFormRoundTripsEndWhereTheyStartedAndTheFrameIsSaved) {
    QRect start;
    const std::string saved = runProgram("IconShow=1\r\n", [&](Session& session) {
        MainWindow& window = session.window();
        ASSERT_TRUE(waitFor([&] { return shownAtRest(window); }));
        start = look(window).frame;
        int returned = 0;
        for (int trip = 0; trip < 20; ++trip) {
            doubleClick(window);
            ASSERT_TRUE(waitFor([&] { return window.miniActive() && look(window).viewable; }));
            doubleClick(window);
            returned += waitFor([&] {
                return !window.miniActive() && shownAtRest(window) && look(window).frame == start;
            })
                            ? 1
                            : 0;
        }
        EXPECT_EQ(returned, 20) << "now at " << look(window).frame.x() << ","
                                << look(window).frame.y();
        // The last tick recorded where the window is.
        const std::uint64_t ticks = session.frontEnd.engine().state().tickCount;
        EXPECT_TRUE(waitFor([&] { return session.frontEnd.engine().state().tickCount > ticks; }));
        testing::triggerMenuItem(window.contextMenu(), QStringLiteral("Exit"));
    });
    EXPECT_NE(saved.find("WindowXY=" + std::to_string(packPosition({start.left(), start.top()})) +
                         "\r\n"),
              std::string::npos)
        << saved << " frame at " << start.left() << "," << start.top();
}

INSTANTIATE_TEST_SUITE_P(Editions, WindowManagerTest,
                         ::testing::Values(&Edition::standard(), &Edition::xl()),
                         [](const auto& info) { return info.param->isXL() ? "XL" : "Standard"; });

}  // namespace
}  // namespace calidus
