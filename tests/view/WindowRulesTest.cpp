#include "view/WindowRules.h"

#include <gtest/gtest.h>

namespace calidus {
namespace {

TEST(WindowRules, StartsHiddenOnlyWhenTheTrayAloneCanHoldIt) {
    EXPECT_TRUE(allowShowAtStart(false, false, false, true));
    EXPECT_FALSE(allowShowAtStart(true, false, false, true));
    EXPECT_TRUE(allowShowAtStart(true, true, false, true));
    EXPECT_TRUE(allowShowAtStart(true, false, true, true));
    EXPECT_TRUE(allowShowAtStart(true, false, false, false));
}

TEST(WindowRules, CloseMinimizeAndHide) {
    EXPECT_EQ(closeAction(true), CloseAction::Minimize);
    EXPECT_EQ(closeAction(false), CloseAction::Exit);
    EXPECT_EQ(minimizeMenuAction(true, false), MinimizeAction::Minimize);
    EXPECT_EQ(minimizeMenuAction(true, true), MinimizeAction::Minimize);
    EXPECT_EQ(minimizeMenuAction(false, true), MinimizeAction::Hide);
    EXPECT_EQ(minimizeMenuAction(false, false), MinimizeAction::Nothing);
    EXPECT_TRUE(hideOnMinimize(false, true));
    EXPECT_FALSE(hideOnMinimize(true, true));
    EXPECT_FALSE(hideOnMinimize(false, false));
}

TEST(WindowRules, PlacementIsRecordedWhileShownAndOnTopFollowsTheSetting) {
    PlacementRecorder recorder;
    EXPECT_FALSE(recorder.known());

    auto outcome = recorder.record({10, 20, 322, 400}, false);
    EXPECT_TRUE(recorder.known());
    EXPECT_EQ(recorder.rect(), (ScreenRect{10, 20, 322, 400}));
    EXPECT_EQ(outcome.applyOnTop, std::nullopt);
    EXPECT_FALSE(outcome.showTemperatureTitle);

    // The compact window is tall enough to be recorded.
    recorder.record({40, 20, 352, 143}, false);
    EXPECT_EQ(recorder.rect(), (ScreenRect{40, 20, 352, 143}));

    // OnTop switched on in Settings: applied once, at the next record.
    outcome = recorder.record({40, 20, 352, 143}, true);
    EXPECT_EQ(outcome.applyOnTop, true);
    EXPECT_EQ(recorder.record({40, 20, 352, 143}, true).applyOnTop, std::nullopt);

    // Minimized: the rectangle stays, the title carries the temperatures.
    outcome = recorder.record({}, true);
    EXPECT_TRUE(outcome.showTemperatureTitle);
    EXPECT_EQ(recorder.rect(), (ScreenRect{40, 20, 352, 143}));
    EXPECT_EQ(recorder.record({}, false).applyOnTop, false);
}

TEST(WindowRules, AWindowHiddenInTheTrayIgnoresLateReportsUntilRestored) {
    ShowState state;
    EXPECT_TRUE(state.restored());
    EXPECT_TRUE(state.reported(true));
    EXPECT_FALSE(state.restored());

    state.hiddenToTray();
    // The manager forgets the withdrawn window and reports it restored, or minimized late.
    EXPECT_FALSE(state.reported(false));
    EXPECT_FALSE(state.reported(true));
    EXPECT_TRUE(state.hidden());
    EXPECT_FALSE(state.restored());

    state.restoredByRequest();
    EXPECT_TRUE(state.restored());
    EXPECT_TRUE(state.reported(false));
    EXPECT_TRUE(state.restored());
}

}  // namespace
}  // namespace calidus
