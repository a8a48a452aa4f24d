#include "ui/SettingsWindow.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <memory>
#include <set>

#include "RecordingShell.h"
#include "SimulatedEngine.h"
#include "TrayTestApp.h"
#include "WindowTestPorts.h"
#include "common/Registers.h"
#include "support/TempFolder.h"
#include "ui/MainWindow.h"
#include "ui/WindowFrontEnd.h"

namespace calidus {
namespace {

using testing::TempFolder;

// A settings file saved on the machine itself, so that its per-core values are read.
std::string savedOn(const std::string& model, const std::string& keys) {
    const std::string description = testing::builtInDescription(model);
    const auto value = [&](const std::string& key) {
        const std::size_t at = description.find(key + "=") + key.size() + 1;
        return description.substr(at, description.find('\n', at) - at);
    };
    return "[Calidus]\nSpec=" + value("Brand") + "\nCPUID=" + value("Signature") + "\n" + keys;
}

std::string withMachineKey(const std::string& model, const std::string& line) {
    std::string description = testing::builtInDescription(model);
    description.insert(description.find('\n') + 1, line + "\n");
    return description;
}

// The engine's messages (a start-up notice) are kept instead of waiting in a box.
struct QuietPorts : testing::WindowTestPorts {
    void showMessage(const std::string&, const std::string& text, MessageIcon) override {
        shown.push_back(text);
    }
    std::vector<std::string> shown;
};

struct SettingsRig {
    SettingsRig(const Edition& edition, const std::string& description, const std::string& ini)
        : platform(testing::describedPlatform(host, description)) {
        testing::ensureApplication();
        TempFolder::write(file(), ini);
        engine = std::make_unique<Engine>(edition, platform, desktop, desktop,
                                          EngineSettings{.file = file()});
        window = std::make_unique<MainWindow>(edition, engine->settings(), shell, *platform.clock);
        desktop.attach(*window);
        window->bindEngine(engine.get());
        EXPECT_EQ(engine->start().outcome, StartOutcome::Ready);
    }
    ~SettingsRig() { engine->shutdown(); }

    std::filesystem::path file() const { return files / "Calidus.ini"; }

    std::unique_ptr<SettingsWindow> open() {
        SettingsWindowLinks links;
        links.messages = [this](const std::string&, const std::string& text, MessageIcon) {
            messages.push_back(text);
        };
        auto settings = std::make_unique<SettingsWindow>(*engine, std::move(links));
        settings->show();
        return settings;
    }

    std::uint64_t msr(int processor, std::uint32_t index) {
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        platform.driver->readMsr(static_cast<std::uint32_t>(processor), index, low, high);
        return std::uint64_t{high} << 32 | low;
    }

    testing::FakeMachine host;
    Platform platform;
    TempFolder files;
    testing::RecordingShell shell;
    QuietPorts desktop;
    std::unique_ptr<Engine> engine;
    std::unique_ptr<MainWindow> window;
    std::vector<std::string> messages;
};

QLineEdit* field(const SettingsWindow& w, int id) {
    return qobject_cast<QLineEdit*>(w.control(id));
}
QAbstractButton* button(const SettingsWindow& w, int id) {
    return qobject_cast<QAbstractButton*>(w.control(id));
}

void pressEnter(QWidget* widget) {
    widget->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

void typeInto(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    edit->insert(text);  // as typed: the change enables Apply
    pressEnter(edit);
}

void spin(const SettingsWindow& w, int id, bool up) {
    const QList<QToolButton*> arrows = w.control(id)->findChildren<QToolButton*>();
    arrows[up ? 0 : 1]->click();
}

TEST(SettingsWindow, EveryControlIdHasOneWidgetInEachEdition) {
    std::vector<int> standard{1068, 1069, 1070, 1071, 1086, 1064, 1065, 1066, 1067, 1009, 1011,
                              1113, 1115, 1114, 1116, 1177, 1178, 1170, 1091, 1092, 1093, 1094,
                              1013, 1073, 1074, 1075, 1076, 1014, 1104, 1105, 1106, 1142, 1143,
                              1171, 1172, 1012, 1119, 1183, 1186, 1016, 1017, 1078, 1079, 1107,
                              1080, 1083, 1015, 1081, 1095, 1174, 1063, 1,    2,    1088};
    std::vector<int> xl = standard;
    standard.insert(standard.end(), {1218, 1220, 1225, 1226, 1223, 1224, 1227});
    xl.insert(xl.end(), {1227, 1228, 1229, 1230, 1231, 1232, 1233, 1234, 1500, 1502, 1501, 1503,
                         1505, 1506, 1507});
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        SettingsRig rig(*edition, testing::builtInDescription(testing::modelFor(*edition)), "");
        const auto window = rig.open();
        std::vector<int> found;
        const QRegularExpression named(QStringLiteral("^c(\\d+)$"));
        for (const QWidget* child : window->findChildren<QWidget*>()) {
            if (const auto match = named.match(child->objectName()); match.hasMatch()) {
                found.push_back(match.captured(1).toInt());
            }
        }
        std::vector<int> expected = edition->isXL() ? xl : standard;
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(found, expected) << edition->programName;
        EXPECT_EQ(button(*window, edition->isXL() ? 1232 : 1094)->text(),
                  edition->isXL() ? "Core 6" : "Core 3");
        window->reject();
    }
}

TEST(SettingsWindow, ShowsTheFileAndCorrectsAFieldOnEnter) {
    SettingsRig rig(Edition::standard(), testing::builtInDescription("i7-920"),
                    savedOn("i7-920",
                            "Idle0=1.5\nAlarm=1\nAlarm1=85\nLogFile=1\nLogInterval=10\n"
                            "AlarmFile=/usr/bin/beep\nClockMod=26\nIconShow=0\n"));
    const auto w = rig.open();
    EXPECT_EQ(field(*w, 1068)->text(), "1.5");
    EXPECT_EQ(field(*w, 1105)->text(), "85");
    EXPECT_TRUE(field(*w, 1105)->isEnabled());
    EXPECT_EQ(field(*w, 1079)->text(), "10");
    EXPECT_EQ(field(*w, 1143)->text(), "/usr/bin/beep");
    EXPECT_TRUE(button(*w, 1012)->isChecked());
    EXPECT_EQ(field(*w, 1119)->text(), "62.5 %");
    EXPECT_TRUE(button(*w, 1017)->isChecked() && button(*w, 1017)->isEnabled());  // EIST
    EXPECT_TRUE(button(*w, 1016)->isChecked());                                   // C1E
    EXPECT_EQ(button(*w, 1183)->text(), "Disable Turbo");
    EXPECT_EQ(field(*w, 1174)->text(), "01234567");
    // No tray icon: "Task Bar" is on and stays on.
    EXPECT_TRUE(button(*w, 1083)->isChecked());
    EXPECT_FALSE(button(*w, 1083)->isEnabled());
    EXPECT_FALSE(button(*w, 1088)->isEnabled());

    typeInto(field(*w, 1068), "12");
    EXPECT_EQ(field(*w, 1068)->text(), "9.9");
    typeInto(field(*w, 1079), "7");
    EXPECT_EQ(field(*w, 1079)->text(), "8");
    EXPECT_EQ(rig.engine->settings()->logInterval, 8);  // at once
    typeInto(field(*w, 1105), "150");
    EXPECT_EQ(field(*w, 1105)->text(), "100");
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(button(*w, 1088)->isEnabled());
    w->reject();
}

TEST(SettingsWindow, OnlyOkWritesTheFile) {
    SettingsRig rig(Edition::standard(), testing::builtInDescription("i7-920"),
                    savedOn("i7-920", "Idle0=1.5\n"));
    const std::string before = TempFolder::read(rig.file());
    {
        const auto w = rig.open();
        typeInto(field(*w, 1068), "-0.05");
        button(*w, 1088)->click();  // Apply
        EXPECT_EQ(rig.engine->configuration().calibration.idle[0], -1);
        button(*w, 2)->click();  // Cancel
    }
    EXPECT_EQ(TempFolder::read(rig.file()), before);
    EXPECT_EQ(rig.engine->configuration().calibration.idle[0], -1);
    const auto w = rig.open();
    button(*w, 1)->click();  // OK
    EXPECT_FALSE(w->isVisible());
    EXPECT_NE(TempFolder::read(rig.file()).find("Idle0=-0.1\n"), std::string::npos);
    EXPECT_TRUE(rig.messages.empty());

    // A file that cannot be replaced is not passed over in silence.
    std::filesystem::remove(rig.file());
    std::filesystem::create_directory(rig.file());
    const auto again = rig.open();
    button(*again, 1)->click();
    ASSERT_EQ(rig.messages.size(), 1u);
    EXPECT_NE(rig.messages[0].find("The settings could not be saved to"), std::string::npos);
}

TEST(SettingsWindow, ClockModulationWaitsForApplyCancelRestoresDefaultsActAtOnce) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        const std::string model = testing::modelFor(*edition);
        SettingsRig rig(*edition, testing::builtInDescription(model), "[Calidus]\nClockMod=12\n");
        const int dutySpin = edition->isXL() ? 1503 : 1226;
        {
            const auto w = rig.open();
            EXPECT_FALSE(button(*w, 1012)->isChecked());
            EXPECT_EQ(field(*w, 1119)->text(), "75.0 %");
            button(*w, 1012)->click();
            spin(*w, dutySpin, true);
            spin(*w, dutySpin, true);
            EXPECT_EQ(field(*w, 1119)->text(), "12.5 %");  // 14 wraps to 2
            EXPECT_EQ(rig.msr(1, msr::kClockModulation), 0u) << "modulation stays off: not written";
            w->reject();
        }
        EXPECT_EQ(rig.msr(1, msr::kClockModulation), 0u);
        const auto w = rig.open();
        button(*w, 1063)->click();  // Defaults
        EXPECT_EQ(rig.msr(0, msr::kClockModulation), 0u);
        EXPECT_EQ(rig.msr(3, msr::kClockModulation), 0u);
        EXPECT_EQ(field(*w, 1119)->text(), edition->isXL() ? "12.5 %" : "50.0 %");
        EXPECT_FALSE(field(*w, 1119)->isEnabled());
        EXPECT_EQ(field(*w, 1105)->text(), edition->isXL() ? "90" : "100");
        EXPECT_FALSE(field(*w, 1105)->isEnabled());
        EXPECT_TRUE(button(*w, 1088)->isEnabled());
        w->reject();
    }
}

TEST(SettingsWindow, EachProcessorSwitchActsOnTheSimulatedMachine) {
    {
        SettingsRig rig(Edition::standard(), testing::builtInDescription("i7-920"), "");
        const auto w = rig.open();
        button(*w, 1016)->click();  // C1E off on every processor
        EXPECT_FALSE(button(*w, 1016)->isChecked());
        EXPECT_EQ(rig.msr(7, msr::kPowerControl) & 2, 0u);
        button(*w, 1183)->click();  // turbo disengaged
        EXPECT_TRUE(button(*w, 1183)->isChecked());
        EXPECT_NE(rig.msr(0, msr::kMiscEnable) & (1ull << 38), 0u);
        button(*w, 1017)->click();  // EIST off
        EXPECT_FALSE(button(*w, 1017)->isChecked());
        EXPECT_EQ(rig.msr(5, msr::kMiscEnable) & (1u << 16), 0u);
        w->reject();
    }
    // EIST locked, and no platformInfoClass: the turbo box is the VID display.
    SettingsRig rig(Edition::standard(), testing::builtInDescription("q6600-ati"), "");
    rig.platform.driver->writeMsr(0, msr::kMiscEnable, 0x00950089, 0);
    const std::uint64_t misc = rig.msr(0, msr::kMiscEnable);
    const auto w = rig.open();
    EXPECT_TRUE(button(*w, 1017)->isChecked());
    EXPECT_FALSE(button(*w, 1017)->isEnabled());
    EXPECT_EQ(button(*w, 1183)->text(), "VID  1.2875");
    button(*w, 1183)->click();
    EXPECT_EQ(rig.msr(0, msr::kMiscEnable), misc);
    button(*w, 1088)->click();
    EXPECT_TRUE(rig.engine->settings()->vidInfo);
    w->reject();
}

TEST(SettingsWindow, RefusedWritesShowTheRealStateAndOneMessage) {
    SettingsRig rig(Edition::standard(), withMachineKey("i7-920", "WritesLocked=1"),
                    "[Calidus]\nClockMod=26\n");
    {
        const auto w = rig.open();
        EXPECT_TRUE(rig.messages.empty());
        EXPECT_EQ(field(*w, 1119)->text(), "50.0 %");  // start-up's write went nowhere
        EXPECT_FALSE(button(*w, 1012)->isChecked());
        button(*w, 1016)->click();
        EXPECT_TRUE(button(*w, 1016)->isChecked());  // C1E is still on
        EXPECT_EQ(rig.msr(3, msr::kPowerControl), 2u);
        EXPECT_FALSE(button(*w, 1016)->isEnabled());
        EXPECT_FALSE(button(*w, 1012)->isEnabled());
        ASSERT_EQ(rig.messages.size(), 1u);
        EXPECT_NE(rig.messages[0].find("kernel refused"), std::string::npos);
        w->reject();
    }
    const auto w = rig.open();
    EXPECT_FALSE(button(*w, 1017)->isEnabled());
    button(*w, 1)->click();  // OK writes the clock modulation again
    EXPECT_EQ(rig.messages.size(), 1u);
}

TEST(SettingsWindow, ReadOnlyModeOffersNoSwitchAndWritesNothing) {
    for (const std::string model : {"i7-920", "q6600"}) {
        SettingsRig rig(Edition::standard(),
                        withMachineKey(model, "Authentication=dismissed\nCoretemp=1"),
                        "[Calidus]\nClockMod=26\n");
        ASSERT_TRUE(rig.engine->readOnly()) << model;
        const auto w = rig.open();
        for (const int id : {1012, 1016, 1017, 1183}) {
            EXPECT_FALSE(button(*w, id)->isEnabled()) << model << " " << id;
            EXPECT_FALSE(button(*w, id)->isChecked()) << model << " " << id;
            EXPECT_TRUE(button(*w, id)->toolTip().startsWith("Read-only")) << model << " " << id;
        }
        EXPECT_FALSE(field(*w, 1119)->isEnabled()) << model;
        if (model == "q6600") {
            EXPECT_EQ(button(*w, 1183)->text(), "VID") << "no value to show";
        }
        button(*w, 1)->click();  // OK
        EXPECT_TRUE(rig.messages.empty()) << model;
        EXPECT_EQ(rig.desktop.shown.size(), 1u) << model << ": said once, at the start";
        EXPECT_NE(TempFolder::read(rig.file()).find("ClockMod=26\n"), std::string::npos)
            << model << ": the setting is kept for a run with registers";
    }
}

TEST(SettingsWindow, TheMainWindowsButtonOpensItAndOkRebuildsTheHeading) {
    testing::ensureApplication();
    testing::FakeMachine host;
    Platform platform = testing::simulatedPlatform(host, "i7-920");
    testing::RecordingShell shell;
    TempFolder files;
    WindowFrontEnd front(Edition::standard(), platform, shell, {.file = files / "Calidus.ini"});
    ASSERT_EQ(front.engine().start().outcome, StartOutcome::Ready);
    front.mainWindow().prepareForStart();
    bool disabledWhileOpen = false;
    QTimer::singleShot(0, [&] {
        SettingsWindow* w = front.settingsWindow();
        ASSERT_NE(w, nullptr);
        disabledWhileOpen = !front.mainWindow().control(control::kSettings)->isEnabled();
        button(*w, 1227)->click();  // °F
        button(*w, 1)->click();
    });
    static_cast<QPushButton*>(front.mainWindow().control(control::kSettings))->click();
    EXPECT_TRUE(disabledWhileOpen);
    EXPECT_TRUE(front.mainWindow().control(control::kSettings)->isEnabled());
    EXPECT_EQ(
        static_cast<QGroupBox*>(front.mainWindow().control(control::kTemperatureBox))->title(),
        "Temperature (\u00B0F)");
    EXPECT_NE(TempFolder::read(files / "Calidus.ini").find("Fahrenheit=1"), std::string::npos);
}

}  // namespace
}  // namespace calidus
