#include "view/TrayWindow.h"

namespace calidus {

ScreenRect topRightTarget(const ScreenRect& window, const ScreenRect& workArea, bool miniActive,
                          DesktopTraits desktop) {
    ScreenRect target = window.movedTo({workArea.right - window.width(), workArea.top});
    if (!miniActive && desktop.invisibleBorders) {
        target = target.translated(-5, 5);
    }
    return target;
}

}  // namespace calidus
