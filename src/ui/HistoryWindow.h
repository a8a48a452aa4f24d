#pragma once

#include <QWidget>
#include <filesystem>

#include "common/Edition.h"
#include "view/HistoryChart.h"

class QButtonGroup;
class QPushButton;

namespace calidus {

class Clock;
class Engine;
class HistoryPlot;

// "History": the temperatures of the last ticks as curves, modeless, redrawn at every tick
// while it is shown. It is deleted once closed, so a closed window costs nothing.
class HistoryWindow : public QWidget {
    Q_OBJECT

  public:
    HistoryWindow(const Edition& edition, Engine& engine, Clock& clock, QWidget* parent = nullptr);

    // After a tick: the chart is made again from the engine's history, if anyone can see it.
    void refresh();
    void setSpan(HistorySpan span);
    HistorySpan span() const { return span_; }
    const HistoryChart& chart() const { return chart_; }
    // The shown samples as CSV; false when the file could not be written.
    bool saveCsv(const std::filesystem::path& file) const;

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void chooseFileAndSave();

    const Edition& edition_;
    Engine& engine_;
    Clock& clock_;
    HistorySpan span_ = HistorySpan::FiveMinutes;
    HistoryChart chart_;
    QButtonGroup* spans_ = nullptr;
    HistoryPlot* plot_ = nullptr;
};

}  // namespace calidus
