#include "view/MiniModeGeometry.h"

namespace calidus {

namespace {

int centredLeft(const ScreenRect& around, int width) {
    return (around.left + around.right) / 2 - width / 2;
}

}  // namespace

MiniEntry enterMiniGeometry(const ScreenRect& normal, WindowSize miniOuter,
                            const ScreenRect& workArea, DesktopTraits desktop) {
    const ScreenRect visible = normal.grown(desktop.borderAllowance());
    const int left = centredLeft(visible, miniOuter.width);
    ScreenRect mini{left, visible.top, left + miniOuter.width, visible.top + miniOuter.height};
    while (mini.bottom < workArea.top + 5) {
        mini = mini.translated(0, 1);
    }
    return {normal, mini};
}

ScreenRect leaveMiniGeometry(const ScreenRect& mini, const ScreenRect& normal,
                             DesktopTraits desktop) {
    const int left = centredLeft(mini, normal.width());
    return ScreenRect{left, mini.top, left + normal.width(), mini.top + normal.height()}.translated(
        0, desktop.borderAllowance());
}

SizeLimits miniSizeLimits(WindowSize miniOuter) {
    return {miniOuter, {miniOuter.width, miniOuter.height + 257}};
}

}  // namespace calidus
