#pragma once

#include <QDialog>
#include <QMap>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "tools/SensorTest.h"
#include "view/ScreenRect.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace calidus {

class Shell;

// "Sensor Test": the movement test as it opens, then the cool-down test under a stress
// program, driven by a one-second timer. Closing it restores the clock modulation it found and
// ends the stress program.
class SensorTestWindow : public QDialog {
    Q_OBJECT

  public:
    // The program the user picked; nothing when the dialog was cancelled.
    using ProgramChooser = std::function<std::optional<QString>()>;

    static constexpr std::chrono::milliseconds kMovementTime{4000};
    static constexpr std::chrono::milliseconds kTestTick{1000};

    SensorTestWindow(const Edition& edition, SensorTestInputs inputs, Shell& shell,
                     QWidget* parent = nullptr);
    ~SensorTestWindow() override;

    // Beside the main window, on the side with more room.
    void placeBeside(const ScreenRect& mainWindow, bool composition);
    // The movement test; its result shows once kMovementTime has passed.
    void begin();
    void setProgramChooser(ProgramChooser chooser) { chooser_ = std::move(chooser); }

    const SensorTest& test() const { return test_; }
    // The movement test's wait and the one-second timer, which a test may hurry.
    QTimer& movementTimer() { return movementTimer_; }
    QTimer& testTimer() { return timer_; }

  private:
    void start();
    void stop();
    void download();
    void onTick();
    void refresh();
    std::optional<QString> chooseProgram();

    const Edition& edition_;
    SensorTest test_;
    Shell& shell_;
    ProgramChooser chooser_;
    QTimer timer_;
    QTimer movementTimer_;
    QMap<int, QLabel*> fields_;
    QLabel* status_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* download_ = nullptr;
    QProgressBar* progress_ = nullptr;
};

}  // namespace calidus
