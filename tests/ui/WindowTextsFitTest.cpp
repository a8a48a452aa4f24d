// Every text of every window against the field that holds it, measured with the font's own
// metrics, in each of the common Linux families that a desktop without the windows' own fonts
// falls back to.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <string>
#include <vector>

#include "RecordingShell.h"
#include "SimulatedEngine.h"
#include "TrayTestApp.h"
#include "WindowTestPorts.h"
#include "support/TempFolder.h"
#include "ui/AboutWindow.h"
#include "ui/AtiInfoWindow.h"
#include "ui/HistoryWindow.h"
#include "ui/MainWindow.h"
#include "ui/NvidiaInfoWindow.h"

namespace calidus {
namespace {

const char* const kFamilies[] = {"DejaVu Sans", "Noto Sans", "Liberation Sans"};

QString withoutMnemonic(QString text) {
    return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

struct Field {
    QString text;
    QRect room;  // widget pixels the text may take
    bool centredVertically = false;
};

// The text widgets of a window that show, with the room their text has.
std::vector<std::pair<QWidget*, Field>> textFields(QWidget& window) {
    std::vector<std::pair<QWidget*, Field>> fields;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window)) {
            continue;
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->text().isEmpty() || label->wordWrap()) {
                continue;
            }
            QRect room = label->contentsRect().marginsRemoved(
                QMargins(label->margin(), label->margin(), label->margin(), label->margin()));
            const int indent = label->indent() >= 0 ? label->indent()
                               : label->frameWidth() > 0
                                   ? label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2
                                   : 0;
            if (label->alignment() & Qt::AlignLeft) {
                room.setLeft(room.left() + indent);
            } else if (label->alignment() & Qt::AlignRight) {
                room.setRight(room.right() - indent);
            }
            fields.push_back(
                {label, {label->text(), room, bool(label->alignment() & Qt::AlignVCenter)}});
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            if (button->text().isEmpty()) {
                continue;
            }
            QStyleOptionButton option;
            option.initFrom(button);
            const QStyle::SubElement contents =
                qobject_cast<QCheckBox*>(button)      ? QStyle::SE_CheckBoxContents
                : qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
                                                      : QStyle::SE_PushButtonContents;
            fields.push_back({button,
                              {withoutMnemonic(button->text()),
                               button->style()->subElementRect(contents, &option, button)}});
        } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
            if (box->title().isEmpty()) {
                continue;
            }
            QStyleOptionGroupBox option;
            option.initFrom(box);
            option.text = box->title();
            option.subControls = QStyle::SC_GroupBoxLabel;
            const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                             QStyle::SC_GroupBoxLabel, box);
            fields.push_back(
                {box, {box->title(), QRect(label.left(), 0, box->width() - 2 * label.left(), 0)}});
        }
    }
    return fields;
}

// "window/c1155 'text' wide 95.3 px in 90 px" for each text that does not fit. Qt lays text out
// with the font's metrics in device-independent pixels and scales the drawing, so what fits
// here fits at every scale; ctest runs this at 1x, 1.5x and 2x all the same, for what the scale
// does to the styles' frames and margins.
std::vector<std::string> misfits(QWidget& window, const std::string& name) {
    std::vector<std::string> found;
    for (const auto& [widget, field] : textFields(window)) {
        const QFontMetricsF metrics(widget->font(), widget);
        const QStringList lines = field.text.split(QLatin1Char('\n'));
        double width = 0;
        for (const QString& line : lines) {
            width = std::max(width, metrics.horizontalAdvance(line));
        }
        const auto report = [&](const char* what, double need, double have) {
            found.push_back(name + "/" + widget->objectName().toStdString() + " '" +
                            field.text.toStdString() + "' " + what + " " + std::to_string(need) +
                            " px in " + std::to_string(have) + " px");
        };
        if (width > field.room.width()) {
            report("wide", width, field.room.width());
        }
        if (field.centredVertically && lines.size() == 1) {
            // The line box is centred; its glyphs must stay inside the field. The tight box is
            // in whole pixels rounded outwards, hence the pixel of slack.
            const double height = field.room.height();
            const double baseline = (height - metrics.height()) / 2 + metrics.ascent();
            const QRectF ink = metrics.tightBoundingRect(field.text);
            if (baseline + ink.top() < -1 || baseline + ink.bottom() > height + 1) {
                report("tall", ink.height(), height);
            }
        }
    }
    return found;
}

// Every widget's own font takes the family, keeping its size and weight, as when the desktop
// has only that family for the names the windows ask for; layouts follow.
void useFamily(QWidget& window, const QString& family) {
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* widget : widgets) {
        QFont font = widget->font();
        font.setFamilies({family});
        widget->setFont(font);
    }
    QApplication::processEvents();
}

TEST(WindowTexts, FitTheirFieldsAtEveryScaleInTheCommonFamilies) {
    testing::ensureApplication();
    const QStringList installed = QFontDatabase::families();
    for (const char* family : kFamilies) {
        ASSERT_TRUE(installed.contains(QString::fromLatin1(family)))
            << family << " is missing: scripts/install-deps installs it";
    }
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        // Three-digit temperatures in degrees Fahrenheit and a card of each vendor.
        testing::FakeMachine host;
        host.now = 1'700'006'400 + 23 * 3600;
        Platform platform = testing::describedPlatform(
            host, testing::builtInDescription(testing::modelFor(*edition)) +
                      "[Gpu.0]\nVendor=nvidia\nName=GeForce GTX 285\nTemperature=97\n"
                      "Memory=1024\nLinkWidth=16\n"
                      "[Gpu.1]\nVendor=ati\nName=ATI Radeon HD 4800 Series\nTemperature=98\n"
                      "Outputs=2\nCoreClock=750\nMemoryClock=900\nVoltage=1263\nLinkWidth=16\n");
        testing::TempFolder files;
        const auto settings = files / (std::string(edition->programName) + ".ini");
        testing::TempFolder::write(settings, "[Calidus]\nGPU=3\nFahrenheit=1\n");
        testing::RecordingShell shell;
        testing::WindowTestPorts desktop;
        Engine engine(*edition, platform, desktop, desktop, {.file = settings});
        MainWindow main(*edition, engine.settings(), shell, *platform.clock);
        desktop.attach(main);
        main.setTrayLink({[] { return true; }, [] { return false; }});
        main.bindEngine(&engine);
        ASSERT_EQ(engine.start().outcome, StartOutcome::Ready);
        main.prepareForStart();
        main.show();
        host.awaitSleepingWorkers(1);
        for (int tick = 0; tick < 3; ++tick) {
            platform.scheduler->sleep(std::chrono::seconds(1));
            ++host.now;
            engine.runTick();
        }
        AtiInfoWindow ati(*edition, engine, *platform.clock);
        NvidiaInfoWindow nvidia(*edition, engine, *platform.clock);
        AboutWindow about(*edition, shell, engine.processor().modelNumber,
                          engine.processor().cpuSignature);
        HistoryWindow history(*edition, engine, *platform.clock);
        const std::pair<QWidget*, std::string> windows[] = {{&main, "main"},
                                                            {&ati, "ati"},
                                                            {&nvidia, "nvidia"},
                                                            {&about, "about"},
                                                            {&history, "history"}};
        for (const auto& [window, name] : windows) {
            window->show();
        }
        for (const char* family : kFamilies) {
            for (const auto& [window, name] : windows) {
                useFamily(*window, QString::fromLatin1(family));
                const std::string where = std::string(edition->programName) + " " + family +
                                          " at " + std::to_string(window->devicePixelRatioF()) +
                                          "x " + name;
                for (const std::string& misfit : misfits(*window, where)) {
                    ADD_FAILURE() << misfit;
                }
            }
        }
        engine.shutdown();
    }
}

}  // namespace
}  // namespace calidus
