#include "ui/HistoryPlot.h"

#include <QPainter>
#include <QPainterPath>
#include <array>
#include <ctime>

#include "platform/Clock.h"

namespace calidus {

namespace {

constexpr int kGap = 6;           // pixels between a label and what it names
constexpr int kSwatchWidth = 16;  // the legend's line sample

// Distinct from each other and from the alarm's red.
constexpr std::array<QRgb, 6> kCoreColours{0x1F77B4, 0x2CA02C, 0x9467BD,
                                           0x8C564B, 0x17BECF, 0xBCBD22};
constexpr QRgb kGpuColour = 0xFF7F0E;
constexpr QRgb kAlarmColour = 0xD62728;

QColor seriesColour(std::size_t index, bool gpu) {
    return QColor(gpu ? kGpuColour : kCoreColours[index % kCoreColours.size()]);
}

}  // namespace

HistoryPlot::HistoryPlot(const HistoryChart& chart, Clock& clock, QWidget* parent)
    : QWidget(parent), chart_(chart), clock_(clock) {
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

QStringList HistoryPlot::legend() const {
    QStringList names;
    for (const int core : chart_.cores) {
        names << QStringLiteral("Core %1").arg(core);
    }
    if (chart_.gpu) {
        names << QStringLiteral("GPU");
    }
    return names;
}

int HistoryPlot::legendWidth() const {
    int width = 0;
    for (const QString& name : legend()) {
        width += kSwatchWidth + kGap + fontMetrics().horizontalAdvance(name) + 2 * kGap;
    }
    return width;
}

QString HistoryPlot::temperatureLabel(int value) const {
    return QString::number(value) + QString::fromStdString(chart_.unit);
}

QString HistoryPlot::timeLabel(std::time_t when, bool seconds) const {
    const std::tm local = clock_.localTime(when);
    char text[16];
    std::strftime(text, sizeof text, seconds ? "%H:%M:%S" : "%H:%M", &local);
    return QString::fromLatin1(text);
}

QSize HistoryPlot::minimumSizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const int lines = 8;
    return {std::max(legendWidth(), 6 * metrics.horizontalAdvance(QStringLiteral("00:00:00"))) +
                2 * kGap,
            lines * metrics.height()};
}

QSize HistoryPlot::sizeHint() const {
    const QSize least = minimumSizeHint();
    return {std::max(least.width(), 60 * fontMetrics().averageCharWidth()), least.height() * 2};
}

void HistoryPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics = fontMetrics();
    const QColor text = palette().color(QPalette::Text);
    const QColor grid = palette().color(QPalette::Mid);

    // The legend along the top.
    int x = kGap;
    const int legendMiddle = kGap + metrics.height() / 2;
    const QStringList names = legend();
    for (int i = 0; i < names.size(); ++i) {
        const bool gpu = chart_.gpu && i == names.size() - 1;
        painter.setPen(QPen(seriesColour(std::size_t(i), gpu), 2));
        painter.drawLine(x, legendMiddle, x + kSwatchWidth, legendMiddle);
        x += kSwatchWidth + kGap;
        painter.setPen(text);
        const int width = metrics.horizontalAdvance(names[i]);
        painter.drawText(QRect(x, kGap, width, metrics.height()), Qt::AlignVCenter, names[i]);
        x += width + 2 * kGap;
    }

    const int labelWidth = std::max(metrics.horizontalAdvance(temperatureLabel(chart_.low)),
                                    metrics.horizontalAdvance(temperatureLabel(chart_.high)));
    const int timeWidth = metrics.horizontalAdvance(QStringLiteral("00:00:00"));
    const QRect plot(kGap + labelWidth + kGap, kGap + metrics.height() + kGap,
                     width() - (2 * kGap + labelWidth + kGap + timeWidth / 2),
                     height() - (3 * kGap + 2 * metrics.height() + kGap));
    if (plot.width() <= 0 || plot.height() <= 0) {
        return;
    }
    const auto yOf = [&](double value) {
        return plot.bottom() - (value - chart_.low) * plot.height() / (chart_.high - chart_.low);
    };

    for (int value = chart_.low; value <= chart_.high; value += chart_.step) {
        const int y = int(yOf(value));
        painter.setPen(QPen(grid, 0, Qt::DotLine));
        painter.drawLine(plot.left(), y, plot.right(), y);
        painter.setPen(text);
        painter.drawText(QRect(kGap, y - metrics.height() / 2, labelWidth, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, temperatureLabel(value));
    }
    painter.setPen(grid);
    painter.drawRect(plot);
    if (chart_.points.empty()) {
        return;
    }

    const std::time_t first = chart_.points.front().time;
    const std::time_t last = chart_.points.back().time;
    const auto xOf = [&](std::time_t when) {
        return last == first
                   ? double(plot.right())
                   : plot.left() + double(when - first) * plot.width() / double(last - first);
    };
    const TimeTicks ticks = timeTicks(first, last);
    for (const std::time_t when : ticks.times) {
        const int tickX = int(xOf(when));
        painter.setPen(QPen(grid, 0, Qt::DotLine));
        painter.drawLine(tickX, plot.top(), tickX, plot.bottom());
        painter.setPen(text);
        const QString label = timeLabel(when, ticks.seconds);
        const int width = metrics.horizontalAdvance(label);
        painter.drawText(QRect(tickX - width / 2, plot.bottom() + kGap, width, metrics.height()),
                         Qt::AlignCenter, label);
    }

    const auto alarmLine = [&](int value, const QString& caption, bool right) {
        const double y = yOf(value);
        painter.setPen(QPen(QColor(kAlarmColour), 1, Qt::DashLine));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        const QString label = caption + QStringLiteral(" ") + temperatureLabel(value);
        const int width = metrics.horizontalAdvance(label);
        const int left = right ? plot.right() - kGap - width : plot.left() + kGap;
        const QRect box(left, int(y) - metrics.height(), width, metrics.height());
        // Readable over the curves it may cross.
        QColor behind = palette().color(QPalette::Base);
        behind.setAlpha(200);
        painter.fillRect(box, behind);
        painter.drawText(box, Qt::AlignBottom, label);
    };
    if (chart_.gpuAlarm && *chart_.gpuAlarm != chart_.coreAlarm) {
        alarmLine(chart_.coreAlarm, QStringLiteral("CPU alarm"), true);
        alarmLine(*chart_.gpuAlarm, QStringLiteral("GPU alarm"), false);
    } else {
        alarmLine(chart_.coreAlarm, QStringLiteral("Alarm"), true);
    }

    painter.setClipRect(plot);
    const auto curve = [&](const QColor& colour, auto valueOf) {
        QPainterPath path;
        bool drawing = false;
        for (const HistoryPoint& point : chart_.points) {
            const std::optional<int> value = valueOf(point);
            if (!value) {
                drawing = false;
                continue;
            }
            const QPointF at(xOf(point.time), yOf(*value));
            if (drawing) {
                path.lineTo(at);
            } else {
                path.moveTo(at);
                // A reading between gaps still shows, as a dot.
                path.addEllipse(at, 1, 1);
                path.moveTo(at);
                drawing = true;
            }
        }
        painter.setPen(QPen(colour, 1.5));
        painter.drawPath(path);
    };
    for (std::size_t i = 0; i < chart_.cores.size(); ++i) {
        const int core = chart_.cores[i];
        curve(seriesColour(i, false), [core](const HistoryPoint& p) { return p.cores[core]; });
    }
    if (chart_.gpu) {
        curve(seriesColour(0, true), [](const HistoryPoint& p) { return p.gpu; });
    }
}

}  // namespace calidus
