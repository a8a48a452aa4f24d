#include "view/TrayIcons.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "view/TrayFakes.h"

namespace calidus {
namespace {

using testing::FakeTrayHost;

// A running machine whose monitored cores are all present, with an optional GPU.
struct TrayRig {
    const Edition& edition;
    MonitorState state;
    RunConfiguration config;
    DisplayTexts texts;
    Settings settings;
    LiveSettings live;
    FakeTrayHost host;
    std::vector<std::chrono::milliseconds> sleeps;
    TrayIcons icons;

    explicit TrayRig(const Edition& e, std::uint32_t iconShow = 1, bool gpu = false)
        : edition(e),
          live(e, settings),
          icons(e, host, state, config, texts, live,
                [this](std::chrono::milliseconds d) { sleeps.push_back(d); }) {
        for (int core : edition.monitoredCores) {
            config.coreMap.coreMask[core] = 1u << core;
            state.cores[core].temperature = 40 + core;
            state.cores[core].reading = 60 - core;
        }
        state.gpuPresent = gpu;
        texts.tooltip = "Core 0:  40\u00B0C\nCore 1:  41\u00B0C";
        settings.iconShow = IconShow(iconShow);
    }

    void tick() {
        ++state.tickCount;
        host.calls.clear();
        icons.updateTrayIcons();
    }
    const TrayIconImage& shown(int slot) { return host.entries.at(slot).image; }
    std::uint32_t mask() const { return settings.iconShow.bits(); }
};

TEST(TrayIcons, ValueFollowsKindAndQuantityButGpuStaysOnTemperature) {
    TrayRig rig(Edition::standard(), 0x11, true);
    CoreSample& core = rig.state.cores[0];
    core.temperature = 70;
    core.minTemperature = 50;
    core.maxTemperature = 80;
    core.temperatureSum = 130;
    core.reading = 30;
    core.minReading = 20;
    core.maxReading = 50;
    core.readingSum = 61;
    GpuSample& gpu = rig.state.gpu;
    gpu.temperature = 55;
    gpu.minTemperature = 45;
    gpu.maxTemperature = 65;
    gpu.temperatureSum = 105;
    rig.icons.addTrayIcons();

    struct Case {
        std::uint32_t kindBits;
        int core;
        int gpu;
    };
    const std::vector<Case> cases{
        {0, 70, 55},
        {IconShow::kMinimum, 50, 45},
        {IconShow::kMaximum, 80, 65},
        {IconShow::kAverage, 65, 53},  // 130 / 2, 105 / 2 = 52.5 rounds up
        {IconShow::kMinimum | IconShow::kMaximum, 80, 65},
        {IconShow::kMinimum | IconShow::kMaximum | IconShow::kAverage, 65, 53},
        {IconShow::kDistance, 30, 55},
        {IconShow::kDistance | IconShow::kMinimum, 20, 45},
        {IconShow::kDistance | IconShow::kMaximum, 50, 65},
        {IconShow::kDistance | IconShow::kAverage, 31, 53},  // 61 / 2 = 30.5 rounds up
    };
    for (const Case& c : cases) {
        rig.settings.iconShow = IconShow(0x11 | c.kindBits);
        rig.state.tickCount = 2;
        rig.icons.requestFullRedraw();
        rig.icons.updateTrayIcons();
        EXPECT_EQ(rig.shown(0).value, c.core) << c.kindBits;
        EXPECT_EQ(rig.shown(4).value, c.gpu) << c.kindBits;
        EXPECT_FALSE(rig.shown(0).programIcon);
    }
}

TEST(TrayIcons, FirstShownIconCarriesTheSummaryOthersTheirCoreNumber) {
    TrayRig rig(Edition::standard(), 0b110);
    rig.icons.addTrayIcons();
    rig.tick();
    EXPECT_EQ(rig.host.entries.at(1).tooltip, rig.texts.tooltip);
    EXPECT_EQ(rig.host.entries.at(2).tooltip, "Core 2");
    EXPECT_FALSE(rig.host.entries.contains(0));

    rig.settings.trayInfo = true;
    rig.tick();
    EXPECT_EQ(rig.host.entries.at(2).tooltip, rig.texts.tooltip);
}

TEST(TrayIcons, GpuTooltipNamesTheEditionsSource) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        const int gpu = edition->trayIconSlots - 1;
        TrayRig rig(*edition, 1u << gpu, true);
        rig.state.gpu.minTemperature = 38;
        rig.state.gpu.maxTemperature = 61;
        rig.texts.unit = "\u00B0F";
        rig.icons.addTrayIcons();
        rig.tick();
        EXPECT_EQ(rig.host.entries.at(gpu).tooltip,
                  std::string(edition->isXL() ? "Nvidia GPU" : "GPU Temp") +
                      "\nMin = 38\u00B0F\nMax = 61\u00B0F");
    }
}

TEST(TrayIcons, UnchangedPictureAndTooltipAreLeftAloneUntilAFullRedraw) {
    TrayRig rig(Edition::standard(), 0b11);
    rig.settings.iconTextColor[1] = 0x0000FF;
    rig.icons.addTrayIcons();
    rig.tick();
    EXPECT_EQ(rig.host.calls, (std::vector<std::string>{"modify 1", "modify 0"}));
    EXPECT_EQ(rig.shown(1), (TrayIconImage{false, 41, false, 0x0000FF}));

    rig.state.cores[1].temperature = 42;
    rig.tick();
    EXPECT_EQ(rig.host.calls, std::vector<std::string>{"modify 1"});

    rig.settings.alarm = true;
    rig.tick();
    EXPECT_TRUE(rig.host.calls.empty());

    rig.settings.alarm = false;
    rig.settings.threeDigit = true;
    rig.icons.requestFullRedraw();
    rig.tick();
    EXPECT_EQ(rig.host.calls, (std::vector<std::string>{"modify 1", "modify 0"}));
    EXPECT_TRUE(rig.shown(1).threeDigit);
}

TEST(TrayIcons, OnlyTheAlarmedIconBlinksOnOddTicks) {
    TrayRig rig(Edition::standard(), 0b11);
    rig.settings.alarm = true;
    rig.settings.alarm1 = 80;
    rig.state.cores[0].temperature = 80;
    rig.icons.addTrayIcons();
    for (int tick = 1; tick <= 4; ++tick) {
        rig.state.alarmThisTick = true;
        rig.tick();
        const bool odd = tick % 2 == 1;
        EXPECT_EQ(rig.shown(0).programIcon, odd) << tick;
        EXPECT_EQ(rig.shown(0).value, odd ? 0 : 80) << tick;
        EXPECT_FALSE(rig.shown(1).programIcon) << tick;
        EXPECT_EQ(rig.shown(1).value, 41) << tick;
    }
    rig.state.alarmThisTick = false;
    rig.tick();
    EXPECT_FALSE(rig.shown(0).programIcon);
}

TEST(TrayIcons, GpuIconBlinksAgainstTheGpuThreshold) {
    TrayRig rig(Edition::xl(), 0x101, true);
    rig.settings.alarm = true;
    rig.settings.alarm1 = 90;
    rig.settings.alarm2 = 70;
    rig.state.gpu.temperature = 75;
    rig.icons.addTrayIcons();
    rig.state.alarmThisTick = true;
    rig.tick();
    EXPECT_TRUE(rig.shown(8).programIcon);
    EXPECT_FALSE(rig.shown(0).programIcon);
}

TEST(TrayIcons, OnlyAChangedPictureOrTooltipReachesTheHost) {
    TrayRig rig(Edition::xl(), 0x103, true);
    rig.icons.addTrayIcons();
    rig.tick();
    EXPECT_EQ(rig.host.calls, (std::vector<std::string>{"modify 8", "modify 1", "modify 0"}));
    for (int tick = 2; tick <= 13; ++tick) {  // a lost tray is the toolkit's to re-dock
        rig.tick();
        EXPECT_TRUE(rig.host.calls.empty()) << tick;
    }
    rig.state.cores[1].temperature = 55;
    rig.tick();
    EXPECT_EQ(rig.host.calls, std::vector<std::string>{"modify 1"});
    rig.texts.tooltip = "Core 0:  41\u00B0C";
    rig.tick();
    EXPECT_EQ(rig.host.calls, std::vector<std::string>{"modify 0"});
    EXPECT_EQ(rig.host.entries.at(0).tooltip, rig.texts.tooltip);
}

TEST(TrayIcons, FailedAddsAreRetriedOnceThenDroppedAndTaskBarForcedWhenNoneIsLeft) {
    TrayRig rig(Edition::standard(), 0b1011 | IconShow::kAverage);
    rig.host.refusing = {0, 1, 3};
    EXPECT_EQ(rig.icons.addTrayIcons(), IconShow(IconShow::kAverage));
    EXPECT_EQ(rig.host.calls,
              (std::vector<std::string>{"add 3", "add 3", "add 1", "add 1", "add 0", "add 0"}));
    EXPECT_EQ(rig.sleeps,
              std::vector<std::chrono::milliseconds>(3, std::chrono::milliseconds(100)));
    EXPECT_TRUE(rig.settings.taskBar);

    TrayRig partly(Edition::xl(), 0b11);
    partly.host.refusing = {1};
    EXPECT_EQ(partly.icons.addTrayIcons(), IconShow(0b01));
    EXPECT_EQ(partly.sleeps,
              std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(125)});
    EXPECT_FALSE(partly.settings.taskBar);
}

TEST(TrayIcons, BitsOutsideTheEditionsSlotsDoNotCountAsIcons) {
    TrayRig rig(Edition::standard(), 0x20);  // bit 5 has no icon in the standard edition
    rig.icons.addTrayIcons();
    EXPECT_TRUE(rig.host.calls.empty());
    EXPECT_TRUE(rig.settings.taskBar);
}

TEST(TrayIcons, FirstAddDropsSlotsWithoutTheirSourceInTheXlEditionOnly) {
    TrayRig xl(Edition::xl(), 0x1FF);  // cores 3 and 7 are never monitored; no GPU
    xl.config.coreMap.coreMask[6] = 0;
    EXPECT_EQ(xl.icons.addTrayIcons(), IconShow(0b0011'0111));
    EXPECT_EQ(xl.host.calls,
              (std::vector<std::string>{"add 5", "add 4", "add 2", "add 1", "add 0"}));

    TrayRig standard(Edition::standard(), 0b1001);
    standard.config.coreMap.coreMask[3] = 0;
    EXPECT_EQ(standard.icons.addTrayIcons(), IconShow(0b1001));
    standard.tick();  // the missing core's icon is never drawn
    EXPECT_EQ(standard.host.calls, std::vector<std::string>{"modify 0"});

    TrayRig gpuGone(Edition::standard(), 0b10001);
    EXPECT_EQ(gpuGone.icons.addTrayIcons(), IconShow(0b00001));
    EXPECT_EQ(gpuGone.host.calls, std::vector<std::string>{"add 0"});
}

TEST(TrayIcons, TurningAnIconOnReaddsAllInOrderAndRedrawsEverything) {
    TrayRig rig(Edition::standard(), 0b10001 | IconShow::kMaximum, true);
    rig.icons.addTrayIcons();
    rig.tick();
    rig.host.calls.clear();

    EXPECT_FALSE(rig.icons.setIconShown(2, true));
    EXPECT_EQ(rig.host.calls,
              (std::vector<std::string>{"remove 4", "remove 0", "add 4", "add 2", "add 0"}));
    EXPECT_EQ(rig.mask(), 0b10101u | IconShow::kMaximum);
    // The re-added icons keep their last picture until the next tick draws all of them.
    EXPECT_FALSE(rig.host.entries.at(0).image.programIcon);
    rig.tick();
    EXPECT_EQ(rig.host.calls, (std::vector<std::string>{"modify 4", "modify 2", "modify 0"}));

    rig.host.calls.clear();
    EXPECT_FALSE(rig.icons.setIconShown(4, false));
    EXPECT_EQ(rig.host.calls, std::vector<std::string>{"remove 4"});
    rig.icons.setIconShown(2, false);
    EXPECT_TRUE(rig.icons.setIconShown(0, false));
    EXPECT_EQ(rig.mask(), IconShow::kMaximum);
    EXPECT_TRUE(rig.settings.taskBar);
}

TEST(TrayIcons, ReaddingKeepsOnlyWhatTheTrayTakesAndSkipsUnusableSlots) {
    TrayRig rig(Edition::standard(), 0b1011);
    rig.config.coreMap.coreMask[3] = 0;
    rig.icons.addTrayIcons();
    rig.host.refusing = {1};
    rig.icons.redrawTrayIcons();
    EXPECT_EQ(rig.host.calls.back(), "add 0");
    EXPECT_EQ(rig.mask(), 0b0001u);
    EXPECT_FALSE(rig.settings.taskBar);

    rig.host.refusing = {0};
    rig.icons.redrawTrayIcons();
    EXPECT_EQ(rig.mask(), 0u);
    EXPECT_TRUE(rig.settings.taskBar);
}

TEST(TrayIcons, ExitRemovesTheMaskAndTheXlEditionTriesTwice) {
    TrayRig standard(Edition::standard(), 0b101);
    standard.icons.removeTrayIcons(IconShow(0b101));
    EXPECT_EQ(standard.host.calls, (std::vector<std::string>{"remove 2", "remove 0"}));

    TrayRig xl(Edition::xl(), 0x102, true);
    xl.icons.addTrayIcons();
    xl.host.calls.clear();
    xl.host.entries.erase(1);
    xl.icons.removeTrayIcons(IconShow(0x102));
    EXPECT_EQ(xl.host.calls, (std::vector<std::string>{"remove 8", "remove 1", "remove 1"}));
}

TEST(TrayIcons, SizeEventForcesTaskBarWhenTheFirstIconIsGone) {
    TrayRig rig(Edition::standard(), 0b110);
    rig.icons.addTrayIcons();
    EXPECT_TRUE(rig.icons.firstIconAlive());
    EXPECT_EQ(rig.host.calls.back(), "modify 1");
    EXPECT_FALSE(rig.settings.taskBar);
    rig.host.restartTray();
    EXPECT_FALSE(rig.icons.firstIconAlive());
    EXPECT_TRUE(rig.settings.taskBar);
}

}  // namespace
}  // namespace calidus
