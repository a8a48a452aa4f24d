#pragma once

#include <QMap>
#include <QTimer>
#include <QWidget>

#include "common/Edition.h"
#include "view/GpuInfoLayout.h"
#include "view/NvidiaInfoView.h"

class QGroupBox;
class QMenu;
class QPushButton;

namespace calidus {

class Clock;
class Engine;

// "NVIDIA Information": one GPU of the NVIDIA source at a time, modeless, refreshed at the main
// refresh period. It closes itself when the source is gone and is deleted once closed.
class NvidiaInfoWindow : public QWidget {
    Q_OBJECT

  public:
    NvidiaInfoWindow(const Edition& edition, Engine& engine, Clock& clock,
                     QWidget* parent = nullptr);

    QWidget* control(int id) const { return controls_.value(id); }
    QMenu* contextMenu() const { return menu_; }
    const NvidiaInfoView& view() const { return view_; }
    // One tick of its timer.
    void refresh();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void buildControls();
    void buildMenu();
    void redisplay();
    void stepGpu();
    void reset();

    const NvidiaInfoIds& ids_;
    Engine& engine_;
    NvidiaInfoView view_;
    QMap<int, QWidget*> controls_;
    QGroupBox* minimumBox_ = nullptr;
    QGroupBox* maximumBox_ = nullptr;
    QPushButton* gpuButton_ = nullptr;
    QMenu* menu_ = nullptr;
    QTimer timer_;
};

}  // namespace calidus
