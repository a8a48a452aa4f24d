#include "ui/HistoryWindow.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/Engine.h"
#include "config/AtomicFileWriter.h"
#include "ui/HistoryPlot.h"
#include "ui/UiFonts.h"
#include "view/MainWindowLayout.h"

namespace calidus {

namespace {

// The first size, in dialog units: about the main window's width.
constexpr int kWidth = 280;
constexpr int kHeight = 160;

}  // namespace

HistoryWindow::HistoryWindow(const Edition& edition, Engine& engine, Clock& clock, QWidget* parent)
    : QWidget(parent, Qt::Window), edition_(edition), engine_(engine), clock_(clock) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("History"));
    setFont(dialogFont());

    auto* row = new QHBoxLayout;
    spans_ = new QButtonGroup(this);
    const std::pair<const char*, HistorySpan> spans[] = {
        {"5 min", HistorySpan::FiveMinutes},
        {"1 hour", HistorySpan::OneHour},
        {"All", HistorySpan::WholeRing},
    };
    for (const auto& [caption, span] : spans) {
        auto* choice = new QRadioButton(QString::fromLatin1(caption), this);
        choice->setChecked(span == span_);
        spans_->addButton(choice, int(span));
        row->addWidget(choice);
    }
    connect(spans_, &QButtonGroup::idClicked, this,
            [this](int id) { setSpan(static_cast<HistorySpan>(id)); });
    row->addStretch();
    auto* save = new QPushButton(QStringLiteral("Save CSV..."), this);
    save->setObjectName(QStringLiteral("saveCsv"));
    connect(save, &QPushButton::clicked, this, [this] { chooseFileAndSave(); });
    row->addWidget(save);

    plot_ = new HistoryPlot(chart_, clock_, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(plot_, 1);
    resize(sizeHint().expandedTo(QSize(toPixelsAcross(kWidth), toPixelsDown(kHeight))));
}

void HistoryWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

// A minimized window counts as visible, yet nobody sees its curves: they wait for the restore.
void HistoryWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        refresh();
    }
}

void HistoryWindow::refresh() {
    if (!isVisible() || isMinimized()) {
        return;
    }
    const Settings& settings = *engine_.settings();
    const TemperatureHistory& history = engine_.history();
    chart_ = historyChart(history, historyEntries(span_, engine_.tickPeriod(), history.capacity()),
                          {.fahrenheit = settings.fahrenheit,
                           .unit = engine_.texts().unit,
                           .coreAlarm = settings.alarm1,
                           .gpuAlarm = settings.alarm2,
                           .gpuSourceRuns = engine_.state().gpuPresent},
                          engine_.configuration(), edition_);
    plot_->updateGeometry();
    plot_->update();
}

void HistoryWindow::setSpan(HistorySpan span) {
    span_ = span;
    if (QAbstractButton* choice = spans_->button(int(span))) {
        choice->setChecked(true);
    }
    refresh();
}

bool HistoryWindow::saveCsv(const std::filesystem::path& file) const {
    return static_cast<bool>(writeFileAtomically(file, historyCsv(chart_, clock_)));
}

void HistoryWindow::chooseFileAndSave() {
    const QString file = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save History"), QStringLiteral("CalidusHistory.csv"),
        QStringLiteral("Comma-separated values (*.csv)"));
    if (file.isEmpty()) {
        return;
    }
    if (!saveCsv(file.toStdString())) {
        QMessageBox::warning(this, QStringLiteral("History"),
                             QStringLiteral("The history could not be saved to %1.").arg(file));
    }
}

}  // namespace calidus
