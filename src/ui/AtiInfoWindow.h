#pragma once

#include <QMap>
#include <QTimer>
#include <QWidget>

#include "common/Edition.h"
#include "view/AtiInfoView.h"
#include "view/GpuInfoLayout.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace calidus {

class Clock;
class Engine;

// "ATI Info": one adapter of the ATI source at a time, modeless. It closes itself when the
// source is gone, saves "PollInterval" and "DisableSensor" when it closes, and is deleted once
// closed.
class AtiInfoWindow : public QWidget {
    Q_OBJECT

  public:
    AtiInfoWindow(const Edition& edition, Engine& engine, Clock& clock, QWidget* parent = nullptr);
    ~AtiInfoWindow() override;

    QWidget* control(int id) const { return controls_.value(id); }
    QMenu* contextMenu() const { return menu_; }
    const AtiInfoView& view() const { return view_; }
    // One tick of its timer.
    void refresh();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    template <typename Widget>
    Widget* add(Widget* widget, int id);
    void buildControls();
    void buildMenu();
    void redisplay();
    void stepGpu();
    void reset();

    const AtiInfoIds& ids_;
    Engine& engine_;
    AtiInfoView view_;
    QMap<int, QWidget*> controls_;
    QGroupBox* minimumBox_ = nullptr;
    QGroupBox* maximumBox_ = nullptr;
    QLabel* temperatureLabel_ = nullptr;
    QLineEdit* period_ = nullptr;
    QCheckBox* freeze_ = nullptr;
    QPushButton* gpuButton_ = nullptr;
    QMenu* menu_ = nullptr;
    QTimer timer_;
};

}  // namespace calidus
