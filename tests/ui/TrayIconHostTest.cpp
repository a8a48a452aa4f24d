#include "ui/TrayIconHost.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QPointer>
#include <QStringList>

#include "ui/NumberIcon.h"
#include "ui/TrayTestApp.h"
#include "view/TrayFakes.h"
#include "view/TrayIcons.h"
#include "view/TrayMenu.h"

namespace calidus {
namespace {

class TrayIconHostTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { testing::ensureApplication(); }

    void SetUp() override {
        config.coreMap.coreMask = {1, 2, 4, 8, 0, 0, 0, 0};
        state.cores[0].temperature = 47;
        state.cores[1].temperature = 52;
        texts.tooltip = "Core 0:  47\u00B0C\nCore 1:  52\u00B0C";
    }

    QImage picture(int slot) { return host.icon(slot)->icon().pixmap(QSize(16, 16)).toImage(); }

    QStringList openMenu() {
        emit host.menu()->aboutToShow();
        QStringList texts;
        for (QAction* action : host.menu()->actions()) {
            texts << (action->isSeparator() ? QStringLiteral("-")
                                            : action->text() + (action->isChecked() ? "*" : ""));
        }
        return texts;
    }

    Settings settings;
    LiveSettings live{Edition::standard(), settings};
    MonitorState state;
    RunConfiguration config;
    DisplayTexts texts;
    bool trayAvailable = true;
    TrayIconHost host{Edition::standard(), settings, [this] { return trayAvailable; }};
    testing::FakeTrayWindow window;
    TrayIcons icons{Edition::standard(), host, state, config, texts, live, [](auto) {}};
    TrayMenu menu{live, icons, window};
};

TEST_F(TrayIconHostTest, WithoutATrayNothingIsAddedAndTheTaskBarStays) {
    trayAvailable = false;
    settings.iconShow = IconShow(0b11);
    EXPECT_EQ(icons.addTrayIcons(), IconShow(0));
    EXPECT_EQ(host.icon(0), nullptr);
    EXPECT_TRUE(settings.taskBar);
    EXPECT_FALSE(host.modify(0, TrayEntry{}));
}

TEST_F(TrayIconHostTest, IconsShowTheirNumberAndTooltip) {
    settings.iconShow = IconShow(0b11);
    settings.iconTextColor[1] = 0x00FF00;
    EXPECT_EQ(icons.addTrayIcons(), IconShow(0b11));
    ASSERT_NE(host.icon(1), nullptr);
    EXPECT_TRUE(host.icon(1)->isVisible());
    EXPECT_EQ(host.icon(1)->contextMenu(), host.menu());

    state.tickCount = 1;
    icons.updateTrayIcons();
    EXPECT_EQ(host.icon(0)->toolTip().toStdString(), texts.tooltip);
    EXPECT_EQ(host.icon(1)->toolTip(), QStringLiteral("Core 1"));
    const QImage expected = renderNumberImage(
        52, false, 0x00FF00, trayFont(settings.trayFont, settings.quality), QSize(16, 16));
    EXPECT_EQ(picture(1).convertToFormat(QImage::Format_ARGB32),
              expected.convertToFormat(QImage::Format_ARGB32));

    // A font chosen in the Settings window shows at the next full redraw.
    settings.trayFont.lfHeight = -7;
    icons.requestFullRedraw();
    icons.updateTrayIcons();
    const QImage smaller = renderNumberImage(
        52, false, 0x00FF00, trayFont(settings.trayFont, settings.quality), QSize(16, 16));
    ASSERT_NE(smaller.convertToFormat(QImage::Format_ARGB32),
              expected.convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(picture(1).convertToFormat(QImage::Format_ARGB32),
              smaller.convertToFormat(QImage::Format_ARGB32));

    EXPECT_FALSE(host.add(1, TrayEntry{}));  // one entry per slot
    EXPECT_TRUE(host.remove(1));
    EXPECT_FALSE(host.remove(1));
    EXPECT_FALSE(host.modify(1, TrayEntry{}));

    // At exit the icons are removed after the event loop has ended; the host still frees them.
    QPointer<QSystemTrayIcon> removed;
    {
        TrayIconHost local(Edition::standard(), settings, [] { return true; });
        ASSERT_TRUE(local.add(0, TrayEntry{}));
        removed = local.icon(0);
        EXPECT_TRUE(local.remove(0));
    }
    EXPECT_TRUE(removed.isNull());
}

TEST_F(TrayIconHostTest, MenuIsBuiltOnOpeningAndCommandsRunAfterItCloses) {
    host.setMenu(&menu);
    // Before any opening too: a StatusNotifierItem host takes an empty menu for none.
    EXPECT_FALSE(host.menu()->actions().isEmpty());
    settings.iconShow = IconShow(1);
    icons.addTrayIcons();
    window.restored = false;
    const QStringList texts = openMenu();
    EXPECT_EQ(texts, (QStringList{"Core Temperature*", "Distance to TJ Max", "-", "Current*",
                                  "Minimum", "Maximum", "Average", "-", "Reset (Min/Max)", "-",
                                  "Redraw Icons", "Move to Top Right", "-", "Minimize", "Restore",
                                  "Exit", "-", "History"}));

    host.menu()->actions().at(5)->trigger();  // "Maximum"
    EXPECT_EQ(settings.iconShow, IconShow(1));
    QCoreApplication::processEvents();
    EXPECT_EQ(settings.iconShow, IconShow(1 | IconShow::kMaximum));
    EXPECT_TRUE(openMenu().contains("Maximum*"));

    host.menu()->actions().at(10)->trigger();  // "Redraw Icons" replaces the icon that opened it
    QCoreApplication::processEvents();
    ASSERT_NE(host.icon(0), nullptr);
    EXPECT_EQ(settings.iconShow, IconShow(1 | IconShow::kMaximum));

    emit host.icon(0)->activated(QSystemTrayIcon::Trigger);
    emit host.icon(0)->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(window.calls, std::vector<std::string>{"restore"});
}

}  // namespace
}  // namespace calidus
