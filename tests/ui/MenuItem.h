#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QString>

namespace calidus::testing {

// Chooses the item of that text as a person would: the menu is shown first, so it is up to date.
inline void triggerMenuItem(QMenu* menu, const QString& item) {
    emit menu->aboutToShow();
    for (QAction* action : menu->actions()) {
        if (action->text() == item) {
            action->trigger();
            return;
        }
    }
    ADD_FAILURE() << "no menu item " << item.toStdString();
}

}  // namespace calidus::testing
