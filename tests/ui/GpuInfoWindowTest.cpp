#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "RecordingShell.h"
#include "TrayTestApp.h"
#include "app/EngineRig.h"
#include "ui/AtiInfoWindow.h"
#include "ui/MainWindow.h"
#include "ui/NvidiaInfoWindow.h"
#include "ui/WindowFrontEnd.h"
#include "view/GpuInfoLayout.h"
#include "view/MainWindowLayout.h"

namespace calidus {
namespace {

// An i7-920 with an NVIDIA and an ATI card.
const std::string kBothCards = testing::builtInDescription("i7-920") + R"(
[Gpu.0]
Vendor=nvidia
Name=GeForce GTX 285
Temperature=50
Memory=1024
LinkWidth=16
[Gpu.1]
Vendor=ati
Name=ATI Radeon HD 4800 Series
Temperature=60
Outputs=2
)";

// The window program up to its first ticks, without its event loop.
struct FrontEndRig {
    FrontEndRig(const Edition& e, const std::string& description, std::string_view keys)
        : edition(e), settings(e), platform(testing::describedPlatform(host, description)) {
        testing::ensureApplication();
        settings.write(keys);
        front = std::make_unique<WindowFrontEnd>(edition, platform, shell,
                                                 EngineSettings{.file = settings.file});
        EXPECT_EQ(front->engine().start().outcome, StartOutcome::Ready);
        front->mainWindow().prepareForStart();
        front->mainWindow().show();
        for (int tick = 0; tick < 3; ++tick) {
            ++host.now;
            front->engine().runTick();
        }
    }
    void pressGpuButton() {
        static_cast<QPushButton*>(front->mainWindow().control(control::kGpuButton))->click();
    }
    static void letClosedWindowsGo() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    const Edition& edition;
    testing::SettingsFolder settings;
    testing::FakeMachine host;
    Platform platform;
    testing::RecordingShell shell;
    std::unique_ptr<WindowFrontEnd> front;
};

void trigger(QMenu* menu, int command) {
    for (QAction* action : menu->actions()) {
        if (action->data().toInt() == command) {
            action->trigger();
            return;
        }
    }
    ADD_FAILURE() << "no menu command " << command;
}

QString text(QWidget* window, int id) {
    auto* label = window->findChild<QLabel*>(QStringLiteral("c%1").arg(id));
    return label == nullptr ? QStringLiteral("<missing>") : label->text();
}

TEST(GpuInfoWindows, TheGpuButtonOpensTheAtiWindowFirstThenBothAndEachOnce) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        FrontEndRig rig(*edition, kBothCards, "GPU=3\n");
        QWidget* button = rig.front->mainWindow().control(control::kGpuButton);
        EXPECT_TRUE(button->isVisibleTo(&rig.front->mainWindow()));
        EXPECT_EQ(static_cast<QPushButton*>(button)->text(), "GPU  60\u00B0C");
        rig.pressGpuButton();
        AtiInfoWindow* ati = rig.front->atiWindow();
        ASSERT_NE(ati, nullptr);
        EXPECT_EQ(rig.front->nvidiaWindow(), nullptr);
        EXPECT_EQ(ati->windowTitle(), "ATI Info");
        const AtiInfoIds& a = atiInfoIds(*edition);
        EXPECT_EQ(text(ati, a.adapterName), "ATI Radeon HD 4800");
        EXPECT_EQ(text(ati, a.temperature), "60");
        EXPECT_EQ(ati->findChild<QPushButton*>(QStringLiteral("c%1").arg(a.gpuButton))->text(),
                  "GPU 1");

        rig.pressGpuButton();
        rig.pressGpuButton();
        EXPECT_EQ(rig.front->atiWindow(), ati);
        NvidiaInfoWindow* nvidia = rig.front->nvidiaWindow();
        ASSERT_NE(nvidia, nullptr);
        EXPECT_EQ(nvidia->windowTitle(), "NVIDIA Information");
        const NvidiaInfoIds& n = nvidiaInfoIds(*edition);
        EXPECT_EQ(text(nvidia, n.name), "GeForce GTX 285");
        EXPECT_EQ(text(nvidia, n.memory), "1024 MB");
        EXPECT_EQ(text(nvidia, n.minimumValue), "50");

        trigger(ati->contextMenu(), kAtiCloseCommand);
        static_cast<QPushButton*>(nvidia->control(n.gpuButton))->click();  // "OK": one GPU
        FrontEndRig::letClosedWindowsGo();
        EXPECT_EQ(rig.front->atiWindow(), nullptr);
        EXPECT_EQ(rig.front->nvidiaWindow(), nullptr);
    }
}

TEST(GpuInfoWindows, TheReadPeriodIsCorrectedAndSavedWithTheFreezeSwitchOnClosing) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        FrontEndRig rig(*edition, testing::builtInDescription("q6600-ati"), "GPU=2\n");
        rig.front->openGpuWindows();
        AtiInfoWindow* window = rig.front->atiWindow();
        ASSERT_NE(window, nullptr);
        const AtiInfoIds& ids = atiInfoIds(*edition);
        auto* period = static_cast<QLineEdit*>(window->control(ids.period));
        EXPECT_EQ(period->text(), "5");
        for (const auto& [typed, shown] : {std::pair{"0", "1"}, {"99999", "3600"}}) {
            period->setText(QString::fromLatin1(typed));
            emit period->editingFinished();
            EXPECT_EQ(period->text(), shown);
        }
        EXPECT_EQ(rig.front->engine().settings()->pollInterval, 3600);
        static_cast<QCheckBox*>(window->control(ids.freeze))->click();
        EXPECT_FALSE(period->isEnabled());
        EXPECT_EQ(text(window, ids.temperature), "");
        EXPECT_EQ(text(window, ids.minimumValue), "52");
        EXPECT_EQ(window->control(kOkButton) != nullptr, ids.okAndCancel);

        window->close();
        const std::string file = rig.settings.read();
        EXPECT_NE(file.find("PollInterval=3600\n"), std::string::npos) << file;
        EXPECT_NE(file.find("DisableSensor=1\n"), std::string::npos) << file;
    }
}

// The period field loses the focus while the window's children are destroyed.
TEST(GpuInfoWindows, AWindowDestroyedWithTheFocusInThePeriodFieldGoesQuietly) {
    FrontEndRig rig(Edition::standard(), testing::builtInDescription("q6600-ati"), "GPU=2\n");
    rig.front->openGpuWindows();
    AtiInfoWindow* window = rig.front->atiWindow();
    ASSERT_NE(window, nullptr);
    QApplication::setActiveWindow(window);
    auto* period = static_cast<QLineEdit*>(window->control(atiInfoIds(Edition::standard()).period));
    period->setFocus();
    ASSERT_TRUE(period->hasFocus());
    period->selectAll();
    period->insert(QStringLiteral("30"));  // typed, not yet confirmed
    delete window;
    EXPECT_EQ(rig.front->atiWindow(), nullptr);
}

}  // namespace
}  // namespace calidus
