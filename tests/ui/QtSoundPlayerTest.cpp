#include "ui/QtSoundPlayer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "ui/TrayTestApp.h"

namespace calidus {
namespace {

// Without a sound device as well: the effect decodes the file and playing stays silent.
TEST(QtSoundPlayer, LoadsTheWarningSoundAndStaysSilentForAMissingFile) {
    testing::ensureApplication();
    struct Case {
        std::filesystem::path file;
        QSoundEffect::Status status;
    };
    for (const Case& c : {Case{CALIDUS_WARNING_SOUND, QSoundEffect::Ready},
                          Case{"/nonexistent/CLWarning.wav", QSoundEffect::Error}}) {
        QtSoundPlayer player;
        player.play(c.file);
        player.play(c.file);
        QElapsedTimer waited;
        waited.start();
        while (player.effect().status() == QSoundEffect::Loading && waited.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        EXPECT_EQ(player.effect().status(), c.status) << c.file;
    }
}

}  // namespace
}  // namespace calidus
