#pragma once

#include <QMap>
#include <QMargins>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

#include "app/WindowPort.h"
#include "common/Edition.h"
#include "config/LiveSettings.h"
#include "ui/BenchmarkRunner.h"
#include "view/MainWindowLayout.h"
#include "view/MiniModeGeometry.h"
#include "view/TrayWindow.h"
#include "view/WindowColours.h"
#include "view/WindowPlacement.h"
#include "view/WindowRules.h"

class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStyle;

namespace calidus {

class Clock;
class Engine;
class Clock;
class Shell;

// How the window reaches the tray: touching the first shown icon (false when the desktop lost
// it) and whether the desktop has a tray at all.
struct TrayLink {
    std::function<bool()> touchFirstIcon;
    std::function<bool()> available;
};

using MessageSink =
    std::function<void(const std::string& caption, const std::string& text, MessageIcon icon)>;

// The main window, normal or compact. It shows what the engine computed and never measures.
class MainWindow : public QWidget, public TrayWindow {
    Q_OBJECT

  public:
    MainWindow(const Edition& edition, LiveSettings& settings, Shell& shell, Clock& clock,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The engine whose texts the fields show; the window stays empty without one.
    void bindEngine(Engine* engine);
    void setTrayLink(TrayLink link);
    void setMessageSink(MessageSink sink);
    // A modal message over the window (or to the sink that replaces the boxes).
    void showMessage(const std::string& caption, const std::string& text, MessageIcon icon);

    // Start-up: the show rule, headings and the GPU/signature choice.
    void prepareForStart();
    bool allowShow() const { return allowShow_; }
    void setAllowShow(bool allow) { allowShow_ = allow; }

    // Monitoring-cycle hooks.
    void placeFromSavedPosition();
    void toggleMiniMode();
    // First tick with "MiniMode" saved on: the toggle sets it again.
    void enterSavedMiniMode();
    void refreshFromEngine();
    void applyHeadingStyle(bool plain);
    // After Settings or the font chooser changed colours or headings.
    void applyAppearance();
    // The Settings window is open: its button waits.
    void settingsOpened();
    // It closed; after OK the heading and the GPU display follow what it changed.
    void settingsClosed(bool ok);
    // The date pop-up for a client-area point where the pointer rests.
    void showHoverDate(QPoint clientPoint);
    QMenu* hoverMenu() const { return hoverMenu_; }
    bool headingPlain() const { return headingPlain_; }

    bool miniActive() const { return miniActive_; }
    ScreenRect windowRect() const;
    ScreenRect workArea() const;

    // Where "WindowXY" and "AnchorXY" come from at exit.
    WindowPositionAtExit positionAtExit() const;

    QWidget* control(int id) const { return controls_.value(id); }
    // "Tovel Bench": the benchmark on its own thread; the Reset button cancels it.
    void startBenchmark();
    // Cancels a running benchmark and waits for it, as at the end of the run.
    void stopBenchmark() { benchmarkRunner_.stop(); }
    // The workload step the benchmark runs; benchLoop(1) when empty.
    void setBenchmarkStep(std::function<std::uint64_t()> step) { benchmarkStep_ = std::move(step); }
    QProgressBar* benchmarkProgress() const { return benchmarkProgress_; }
    // "Sensor Test" reads "Testing..." and is disabled while its window is open.
    void setSensorTestOpen(bool open);
    QMenu* contextMenu() const { return contextMenu_; }
    void openAbout();

    // TrayWindow
    bool isVisible() const override { return QWidget::isVisible(); }
    bool isRestored() const override { return showState_.restored(); }
    void minimize() override;
    void minimizeFromMenu() override;
    void restore() override;
    void moveToTopRight() override;
    void resetStatistics() override;
    void quit() override;
    void openHistory() override { emit historyRequested(); }

    void setVisible(bool visible) override;

  signals:
    void exitRequested();
    // The GPU button: the front end opens the GPU information windows.
    void gpuButtonPressed();
    // "History" from the context menu or the tray menu.
    void historyRequested();
    // The front end opens the Sensor Test window.
    void sensorTestPressed();
    // The "Settings" button: the front end opens the Settings window.
    void settingsRequested();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildContextMenu();
    void setAnchorPosition();
    void moveToAnchor();
    void applyColours();
    void applyStatusColours();
    void colourControl(int id, const ControlColours& colours);
    SlotStatus slotStatus(int column) const;
    void applyOnTop(bool onTop);
    // The outer rectangle, frame included, goes to the target's top-left.
    void moveWindowTo(const ScreenRect& target);
    void settlePlacement();
    void endSettling();
    // What Qt knows of the frame now, without a placement still on its way.
    ScreenRect windowRectNow() const;
    // A field is set only when its text changed and only while it can be seen.
    void setFieldText(int id, const std::string& text);
    // The tick's texts into the fields; a window nobody sees takes them once it is shown.
    void showTexts();
    void showGpuOrSignature(bool gpuSourceRuns);
    bool trayAvailable() const;
    // A size event touches the first tray icon; a tray that lost it forces a task-bar button.
    void touchTray();
    void hideToTray();
    void finishBenchmark(const std::optional<BenchmarkResult>& result);
    QPushButton* button(int id) const;

    const Edition& edition_;
    const MainWindowLayout& layout_;
    LiveSettings& settings_;
    Shell& shell_;
    Clock& clock_;
    Engine* engine_ = nullptr;
    TrayLink tray_;
    MessageSink messageSink_;
    DesktopTraits desktop_;

    QMap<int, QWidget*> controls_;
    QMenu* contextMenu_ = nullptr;
    QMenu* hoverMenu_ = nullptr;
    QStyle* plainStyle_ = nullptr;  // headings in the user's colour
    QStyle* groupStyle_ = nullptr;  // headings as the desktop draws them
    bool headingPlain_ = false;
    QTimer hoverTimer_;
    QPoint hoverPoint_;

    bool allowShow_ = false;
    bool ticked_ = false;
    bool textsPending_ = false;
    std::unordered_map<int, std::string> fieldTexts_;  // what each field shows now
    bool miniActive_ = false;
    ShowState showState_;
    bool dragging_ = false;
    bool resizingMini_ = false;
    QPoint dragOffset_;
    ScreenRect normalRect_;
    Qt::WindowFlags normalFlags_;
    // Where a window that was hidden when it was placed must end, until the manager shows it.
    std::optional<ScreenRect> pendingFrame_;
    bool settling_ = false;  // placed again, waiting for the manager's answer
    QTimer settleTimer_;
    mutable QMargins frameMargins_;  // the normal form's frame, as the manager last told it
    AnchorState anchor_;
    PlacementRecorder placement_;

    BenchmarkRunner benchmarkRunner_;
    std::function<std::uint64_t()> benchmarkStep_;
    QProgressBar* benchmarkProgress_ = nullptr;  // the twenty steps, along the button's foot
};

}  // namespace calidus
