#include "view/WindowRules.h"

namespace calidus {

namespace {
constexpr int kMinimizedHeight = 97;  // anything shorter is a minimized window
}

bool allowShowAtStart(bool startMinimized, bool miniMode, bool taskBar, bool trayExists) {
    return !startMinimized || miniMode || taskBar || !trayExists;
}

CloseAction closeAction(bool minimizeOnClose) {
    return minimizeOnClose ? CloseAction::Minimize : CloseAction::Exit;
}

MinimizeAction minimizeMenuAction(bool restored, bool taskBar) {
    if (restored) {
        return MinimizeAction::Minimize;
    }
    return taskBar ? MinimizeAction::Hide : MinimizeAction::Nothing;
}

bool hideOnMinimize(bool taskBar, bool trayExists) {
    return !taskBar && trayExists;
}

int messageBoxWidthForCaption(int captionWidth, int lineHeight) {
    // An icon and three buttons with their gaps, and the box's own borders.
    return captionWidth + 8 * lineHeight;
}

bool ShowState::reported(bool minimized) {
    if (shape_ == Shape::Hidden) {
        return false;
    }
    shape_ = minimized ? Shape::Minimized : Shape::Restored;
    return true;
}

PlacementRecorder::Outcome PlacementRecorder::record(const ScreenRect& window, bool onTop) {
    Outcome outcome;
    const bool minimized = window.height() < kMinimizedHeight;
    if (!minimized) {
        recorded_ = window;
    }
    if (onTop != appliedOnTop_) {
        outcome.applyOnTop = onTop;
        appliedOnTop_ = onTop;
    }
    outcome.showTemperatureTitle = minimized;
    return outcome;
}

}  // namespace calidus
