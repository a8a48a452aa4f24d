#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <thread>

#include "MenuItem.h"
#include "RecordingShell.h"
#include "SimulatedEngine.h"
#include "TrayTestApp.h"
#include "WindowTestPorts.h"
#include "tools/BenchLoop.h"
#include "tools/SpecificationLookup.h"
#include "ui/AboutWindow.h"
#include "view/HoverHitTest.h"

namespace calidus {
namespace {

using testing::FakeMachine;

struct Message {
    std::string caption;
    std::string text;
    MessageIcon icon;
};

class MainWindowTest : public ::testing::TestWithParam<const Edition*> {
  protected:
    void SetUp() override { testing::ensureApplication(); }

    void TearDown() override {
        if (engine) {
            engine->shutdown();
        }
        window.reset();
    }

    const Edition& edition() const { return *GetParam(); }
    const MainWindowLayout& layout() const { return mainWindowLayout(edition()); }

    // The engine reads its (absent) settings file at start; `configure` then sets what the test
    // needs, as if the file had held it.
    void open(const std::function<void(Settings&)>& configure = {}) {
        engine = std::make_unique<Engine>(edition(), platform, desktop, desktop);
        window =
            std::make_unique<MainWindow>(edition(), engine->settings(), shell, *platform.clock);
        desktop.attach(*window);
        window->setMessageSink(
            [this](const std::string& caption, const std::string& text, MessageIcon icon) {
                messages.push_back({caption, text, icon});
            });
        window->setTrayLink({[this] { return trayTakesIcon; }, [this] { return trayExists; }});
        QObject::connect(window.get(), &MainWindow::exitRequested, [this] { ++exits; });
        window->bindEngine(engine.get());
        ASSERT_EQ(engine->start().outcome, StartOutcome::Ready);
        if (configure) {
            Settings changed = *engine->settings();
            configure(changed);
            engine->settings().assign(changed);
        }
        window->prepareForStart();
        window->show();
        window->move(100, 100);
    }

    const Settings& settings() { return *engine->settings(); }

    QString text(int id) const { return static_cast<QLabel*>(window->control(id))->text(); }

    void send(QEvent::Type type, QPoint pos, Qt::MouseButton button) {
        QMouseEvent event(type, QPointF(pos), QPointF(window->mapToGlobal(pos)), button,
                          type == QEvent::MouseMove ? Qt::MouseButtons(button) : button,
                          Qt::NoModifier);
        QApplication::sendEvent(window.get(), &event);
    }

    FakeMachine host;
    Platform platform = testing::simulatedPlatform(host, testing::modelFor(*GetParam()));
    testing::RecordingShell shell;
    std::vector<Message> messages;
    int exits = 0;
    bool trayTakesIcon = true;
    bool trayExists = false;
    testing::WindowTestPorts desktop;
    std::unique_ptr<Engine> engine;
    std::unique_ptr<MainWindow> window;
};

TEST_P(MainWindowTest, EveryControlOfTheLayoutIsThereByItsId) {
    open();
    for (const ControlSpec& spec : layout().controls) {
        QWidget* widget = window->findChild<QWidget*>(QStringLiteral("c%1").arg(spec.id));
        ASSERT_NE(widget, nullptr) << spec.id;
        // Only buttons take the mouse: every other point drags the window.
        EXPECT_EQ(widget->testAttribute(Qt::WA_TransparentForMouseEvents),
                  spec.kind != ControlKind::Button)
            << spec.id;
    }
    EXPECT_EQ(window->size(), QSize(toPixelsAcross(layout().width), 380));
    EXPECT_EQ(window->windowTitle().toStdString(), edition().windowTitle);
    // The window manager owns the system menu, so "About" follows the context menu's items,
    // and "History" comes after them all.
    const QList<QAction*> items = window->contextMenu()->actions();
    ASSERT_EQ(items.size(), 9);
    EXPECT_TRUE(items[5]->isSeparator());
    EXPECT_EQ(items[6]->text(), QStringLiteral("&About..."));
    EXPECT_EQ(items[8]->text(), QStringLiteral("History"));
    // No GPU source: the signature shows and the GPU button does not.
    EXPECT_FALSE(window->control(control::kSignature)->isHidden());
    EXPECT_TRUE(window->control(control::kGpuButton)->isHidden());
}

TEST_P(MainWindowTest, FieldsShowTheEngineTextsAfterATick) {
    open();
    host.awaitSleepingWorkers(1);
    platform.scheduler->sleep(std::chrono::seconds(1));  // the clock thread calibrates meanwhile
    engine->runTick();
    for (int column = 0; column < layout().columns(); ++column) {
        const CoreTexts& core = engine->texts().cores[edition().monitoredCores[column]];
        ASSERT_FALSE(core.temperature.empty()) << column;
        EXPECT_EQ(text(layout().temperature[column]).toStdString(), core.temperature);
        EXPECT_EQ(text(layout().distance[column]).toStdString(), core.distance);
        EXPECT_EQ(text(layout().minimum[column]).toStdString(), core.minimum);
        EXPECT_EQ(text(layout().maximumTime[column]).toStdString(), core.maximumTime);
        EXPECT_EQ(text(layout().status[column]).toStdString(), core.status);
    }
    EXPECT_TRUE(text(layout().minimum[0]).endsWith(QStringLiteral("°C")));
    EXPECT_EQ(text(control::kModel).toStdString(), engine->texts().model);
    EXPECT_EQ(static_cast<QGroupBox*>(window->control(control::kTemperatureBox))->title(),
              QStringLiteral("Temperature (°C)"));
    EXPECT_TRUE(text(control::kClock).endsWith(QStringLiteral(" MHz")));
    EXPECT_TRUE(text(control::kMultiplier).startsWith(QStringLiteral("133.33 x ")));
    EXPECT_EQ(text(control::kLoad).toStdString(), engine->texts().load);
    EXPECT_EQ(text(control::kVid), QStringLiteral("0:00:00"));

    ASSERT_GT(engine->state().tickCount, 0u);
    static_cast<QPushButton*>(window->control(control::kReset))->click();
    EXPECT_EQ(engine->state().tickCount, 0u);
}

TEST_P(MainWindowTest, DoubleClicksEnterAndLeaveTheCompactForm) {
    open();
    const QRect normal = window->frameGeometry();
    send(QEvent::MouseButtonDblClick, {150, 150}, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(window->miniActive());
    EXPECT_TRUE(settings().miniMode);
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window->size(), QSize(layout().miniClientWidth, 123));
    EXPECT_EQ(window->frameGeometry().center().x(), normal.center().x());
    EXPECT_EQ(window->frameGeometry().top(), normal.top());
    // The bottom edge can uncover the rest of the layout, the width cannot change.
    EXPECT_EQ(window->maximumSize(), QSize(layout().miniClientWidth, 380));
    EXPECT_EQ(window->minimumSize(), QSize(layout().miniClientWidth, 123));

    send(QEvent::MouseButtonDblClick, {150, 60}, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(window->miniActive());
    EXPECT_FALSE(settings().miniMode);
    EXPECT_FALSE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window->frameGeometry(), normal);
}

TEST_P(MainWindowTest, CompactFormGrowsByItsBottomEdgeOnly) {
    open();
    window->toggleMiniMode();
    QApplication::processEvents();
    const QPoint topLeft = window->pos();
    send(QEvent::MouseButtonPress, {100, 121}, Qt::LeftButton);
    send(QEvent::MouseMove, {140, 300}, Qt::LeftButton);
    EXPECT_EQ(window->size(), QSize(layout().miniClientWidth, 300));
    send(QEvent::MouseMove, {140, 900}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {140, 900}, Qt::LeftButton);
    EXPECT_EQ(window->size(), QSize(layout().miniClientWidth, 380));
    EXPECT_EQ(window->pos(), topLeft);
}

TEST_P(MainWindowTest, DraggingMovesTheWindowByThePointerOffset) {
    open();
    const QPoint start = window->pos();
    send(QEvent::MouseButtonPress, {40, 100}, Qt::LeftButton);
    send(QEvent::MouseMove, {70, 120}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {70, 120}, Qt::LeftButton);
    EXPECT_EQ(window->pos(), start + QPoint(30, 20));
}

TEST_P(MainWindowTest, AnchorIsSetMovedToAndRefusedOffScreen) {
    open();
    testing::triggerMenuItem(window->contextMenu(), QStringLiteral("Set Anchor Position"));
    testing::triggerMenuItem(window->contextMenu(), QStringLiteral("Set Anchor Position"));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].caption, "Anchor Position");
    EXPECT_EQ(messages[1].text, "Current Position\n( 100, 100 )\n");

    window->move(300, 200);
    testing::triggerMenuItem(window->contextMenu(), QStringLiteral("Move To Anchor"));
    EXPECT_EQ(window->pos(), QPoint(100, 100));
    EXPECT_EQ(messages.size(), 2u);

    // An anchor saved on a monitor that is gone.
    engine->settings().set(KeyId::AnchorXY, packPosition({5000, 100}));
    window->prepareForStart();
    testing::triggerMenuItem(window->contextMenu(), QStringLiteral("Move To Anchor"));
    EXPECT_EQ(window->pos(), QPoint(100, 100));
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[2].caption, "Error");
    EXPECT_EQ(messages[2].text, "Screen position is not available.\nSet a new Anchor Position.");
    EXPECT_EQ(messages[2].icon, MessageIcon::Error);

    const WindowPositionAtExit atExit = window->positionAtExit();
    EXPECT_EQ(atExit.anchor, (ScreenPoint{5000, 100}));
    EXPECT_EQ(atExit.topLeft, std::nullopt);  // no tick recorded the window yet
    engine->runTick();
    EXPECT_EQ(window->positionAtExit().topLeft, (ScreenPoint{100, 100}));
}

TEST_P(MainWindowTest, CloseBoxMinimizesWhenAskedButAltF4Exits) {
    open([](Settings& s) { s.minimizeOnClose = true; });
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isMinimized());
    EXPECT_FALSE(window->isRestored());
    EXPECT_EQ(exits, 0);

    QKeyEvent altF4(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
    QApplication::sendEvent(window->control(control::kReset), &altF4);
    EXPECT_FALSE(settings().minimizeOnClose);
    EXPECT_EQ(exits, 1);

    // The context menu's Exit ends the program as well.
    testing::triggerMenuItem(window->contextMenu(), QStringLiteral("Exit"));
    EXPECT_EQ(exits, 2);
}

TEST_P(MainWindowTest, MinimizedWindowShowsTemperaturesOrGoesToTheTray) {
    open();
    engine->runTick();
    window->showMinimized();
    engine->runTick();
    EXPECT_EQ(window->windowTitle().toStdString(), engine->texts().title);
    window->showNormal();
    EXPECT_EQ(window->windowTitle().toStdString(), edition().windowTitle);

    // With a tray and no task-bar button the minimized window is hidden.
    trayExists = true;
    window->showMinimized();
    QApplication::processEvents();
    EXPECT_TRUE(window->isHidden());
    window->restore();
    QApplication::processEvents();
    EXPECT_FALSE(window->isHidden());
    EXPECT_FALSE(window->isMinimized());

    // The tray lost its icon: the window keeps a task-bar button instead.
    trayTakesIcon = false;
    EXPECT_FALSE(settings().taskBar);
    window->showMinimized();
    QApplication::processEvents();
    EXPECT_TRUE(settings().taskBar);
    EXPECT_FALSE(window->isHidden());
}

TEST_P(MainWindowTest, StartMinimizedWithOnlyATrayNeverShows) {
    trayExists = true;
    trayTakesIcon = false;  // no icon before the first tick adds them
    open([](Settings& s) { s.startMinimized = true; });
    window->minimize();
    EXPECT_FALSE(settings().taskBar);
    EXPECT_FALSE(window->allowShow());
    EXPECT_TRUE(window->isHidden());
    window->restore();
    EXPECT_TRUE(window->allowShow());
    EXPECT_FALSE(window->isHidden());
}

TEST_P(MainWindowTest, HoverShowsTheDateOfTheExtremeUnderThePointer) {
    open();
    engine->runTick();
    const int lastColumn = layout().columns() - 1;
    const PixelRect field = toPixels(layout().find(layout().maximum[lastColumn])->rect);
    window->showHoverDate({field.x + field.width / 2, 260});
    ASSERT_EQ(window->hoverMenu()->actions().size(), 1);
    const std::time_t when = engine->state().cores[edition().monitoredCores[lastColumn]].maxTime;
    EXPECT_EQ(window->hoverMenu()->actions()[0]->text().toStdString(),
              hoverDateText(platform.clock->localTime(when)));
    window->hoverMenu()->hide();

    // Nothing in the compact form.
    window->toggleMiniMode();
    window->hoverMenu()->clear();
    window->showHoverDate({field.x + field.width / 2, 260});
    EXPECT_TRUE(window->hoverMenu()->actions().isEmpty());
}

TEST_P(MainWindowTest, HeadingsAndCustomColoursFollowTheForm) {
    open([](Settings& s) {
        s.customGUI = true;
        s.guiColor = 0x00FFFF;  // yellow
        s.guiText = 0x0000FF;   // red
        s.miniHeading = true;
        s.guiMiniHead = 0xFF0000;  // blue
    });
    engine->runTick();
    EXPECT_FALSE(window->headingPlain());
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(255, 255, 0));
    EXPECT_EQ(window->control(layout().temperature[0])->palette().color(QPalette::WindowText),
              QColor(255, 0, 0));
    window->toggleMiniMode();
    EXPECT_TRUE(window->headingPlain());
    EXPECT_EQ(window->control(control::kDistanceBox)->palette().color(QPalette::WindowText),
              QColor(0, 0, 255));
    EXPECT_NE(window->control(control::kHeaderBox)->palette().color(QPalette::WindowText),
              QColor(0, 0, 255));
}

TEST_P(MainWindowTest, AboutLooksTheModelNumberUpWithoutTheDisplayPrefixes) {
    open();
    QString caption;
    QTimer::singleShot(0, [&caption] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* about = qobject_cast<AboutWindow*>(top); about != nullptr) {
                auto* specFinder = about->findChild<QPushButton*>(
                    QStringLiteral("c%1").arg(AboutWindow::kSpecFinderButton));
                caption = specFinder->text();
                specFinder->click();
            }
        }
    });
    window->openAbout();
    const std::string model = engine->processor().modelNumber;
    EXPECT_EQ(caption.toStdString(), "Intel " + model + " Spec Finder\nCPUID String: " +
                                         (edition().isXL() ? "206C2h" : "106A5h"));
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], specificationSearchAddress(model));
    EXPECT_EQ(specificationSearchAddress(model).find("Core "), std::string::npos);
}

TEST_P(MainWindowTest, FieldsSitInsideTheirGroupFramesInBothHeadingStyles) {
    open();
    for (const bool plain : {false, true}) {
        window->applyHeadingStyle(plain);
        for (const ControlSpec& box : layout().controls) {
            if (box.kind != ControlKind::GroupBox || box.caption.empty()) {
                continue;
            }
            // The frame's top line, looked for at the right end where no title is.
            const QImage picture = window->control(box.id)->grab().toImage();
            const int x = picture.width() - 10;
            int line = 0;
            while (line < picture.height() / 2 && picture.pixel(x, line) == picture.pixel(x, 0)) {
                ++line;
            }
            ASSERT_LT(line, picture.height() / 2) << box.id;
            const int frameTop = window->control(box.id)->y() + line;
            for (const ControlSpec& field : layout().controls) {
                const bool inside =
                    field.kind != ControlKind::GroupBox && field.kind != ControlKind::Button &&
                    field.rect.y > box.rect.y && field.rect.y < box.rect.y + box.rect.height;
                if (inside && !window->control(field.id)->isHidden()) {
                    EXPECT_GT(window->control(field.id)->y(), frameTop + 1)
                        << "field " << field.id << " in box " << box.id << ", plain " << plain;
                }
            }
        }
    }
}

TEST_P(MainWindowTest, MessageBoxIsWideEnoughForItsCaption) {
    open();
    window->setMessageSink({});
    int width = 0;
    QTimer::singleShot(0, [&width] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(top); box != nullptr && box->isVisible()) {
                width = box->width();
                box->accept();
            }
        }
    });
    window->showMessage("Anchor Position", "Current Position\n( 100, 100 )\n", MessageIcon::None);
    QFont bold = window->font();
    bold.setBold(true);
    // Room for the caption beside a title bar's icon and three buttons.
    EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(QStringLiteral("Anchor Position")) + 96);
}

TEST_P(MainWindowTest, BenchmarkRunsBesideTheWindowAndResetCancelsIt) {
    open();
    std::atomic<int> steps{0};
    std::atomic<bool> held{true};
    window->setBenchmarkStep([&] {
        if (++steps == 3) {
            while (held.load()) {
                std::this_thread::yield();
            }
        }
        return std::uint64_t{kBenchLoopChecksum};
    });
    auto* bench = static_cast<QPushButton*>(window->control(control::kTovelBench));
    auto* reset = static_cast<QPushButton*>(window->control(control::kReset));
    // The workload runs on its own thread, which a loaded machine may hold back for a while.
    const auto processUntil = [](const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_TRUE(done());
    };

    bench->click();
    processUntil([&] { return window->benchmarkProgress()->value() == 2; });
    EXPECT_EQ(bench->text(), QStringLiteral("Testing..."));
    EXPECT_FALSE(bench->isEnabled());
    EXPECT_FALSE(window->control(control::kSensorTest)->isEnabled());
    EXPECT_FALSE(window->control(control::kSettings)->isEnabled());
    EXPECT_TRUE(window->benchmarkProgress()->isVisible());
    EXPECT_EQ(reset->text(), QStringLiteral("Cancel"));
    reset->click();
    held = false;
    processUntil([&] { return bench->isEnabled(); });
    EXPECT_EQ(steps.load(), 3);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(reset->text(), QStringLiteral("Reset"));
    EXPECT_EQ(bench->text(), QStringLiteral("Tovel Bench"));
    EXPECT_TRUE(window->control(control::kSettings)->isEnabled());

    // A run to its end shows the score; the counter is not calibrated yet.
    bench->click();
    processUntil([&] { return !messages.empty(); });
    EXPECT_EQ(steps.load(), 23);
    EXPECT_EQ(messages[0].caption, "Tovel Bench Score");
    EXPECT_EQ(messages[0].icon, MessageIcon::Information);
    EXPECT_NE(messages[0].text.find("Standard Timer\nCheckSum Pass\n\nBase Score"),
              std::string::npos);
    processUntil([&] { return bench->isEnabled(); });
    EXPECT_FALSE(window->benchmarkProgress()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Editions, MainWindowTest,
                         ::testing::Values(&Edition::standard(), &Edition::xl()),
                         [](const auto& info) { return info.param->isXL() ? "XL" : "Standard"; });

}  // namespace
}  // namespace calidus
