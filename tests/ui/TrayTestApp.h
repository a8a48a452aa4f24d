#pragma once

#include <QApplication>

namespace calidus::testing {

// One application object for every Qt test of the program; it lives until the process ends.
inline void ensureApplication() {
    if (QApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "test_ui";
        static char* argv[] = {name, nullptr};
        static QApplication* application = new QApplication(argc, argv);
        (void)application;
    }
}

}  // namespace calidus::testing
