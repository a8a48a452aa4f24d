#pragma once

#include <QWidget>

#include "view/HistoryChart.h"

namespace calidus {

class Clock;

// Draws a HistoryChart: one curve per series over time, the alarm lines dashed, the temperature
// axis on the left, the local times below and a legend above. Its margins come from the font,
// so no label is cut at any scale or font.
class HistoryPlot : public QWidget {
    Q_OBJECT

  public:
    HistoryPlot(const HistoryChart& chart, Clock& clock, QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;
    // The legend's entries, left to right: "Core 0", ..., "GPU".
    QStringList legend() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString temperatureLabel(int value) const;
    QString timeLabel(std::time_t when, bool seconds) const;
    int legendWidth() const;

    const HistoryChart& chart_;
    Clock& clock_;
};

}  // namespace calidus
