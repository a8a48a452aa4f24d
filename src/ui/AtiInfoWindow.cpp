#include "ui/AtiInfoWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Engine.h"
#include "config/SettingsWriter.h"
#include "ui/InfoFields.h"
#include "ui/UiFonts.h"

namespace calidus {

namespace {

constexpr int kRefreshMs = 1000;

}  // namespace

AtiInfoWindow::AtiInfoWindow(const Edition& edition, Engine& engine, Clock& clock, QWidget* parent)
    : QWidget(parent, Qt::Dialog),
      ids_(atiInfoIds(edition)),
      engine_(engine),
      view_(engine.settings(), clock) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("ATI Info"));
    setFont(dialogFont());
    buildControls();
    buildMenu();
    connect(&timer_, &QTimer::timeout, this, [this] { refresh(); });
    if (const AtiSensor* sensor = engine_.gpuSources().ati()) {
        view_.open(*sensor);
        period_->setText(infoText(view_.texts().period));
    }
    redisplay();
    timer_.start(kRefreshMs);
}

// A period field with the focus reports losing it while the window's children are destroyed,
// when nothing of this window is left to take the text.
AtiInfoWindow::~AtiInfoWindow() {
    QObject::disconnect(period_, nullptr, this, nullptr);
}

template <typename Widget>
Widget* AtiInfoWindow::add(Widget* widget, int id) {
    nameControl(widget, id);
    controls_.insert(id, widget);
    return widget;
}

void AtiInfoWindow::buildControls() {
    auto* grid = new QGridLayout;
    QLabel* name = infoField(ids_.adapterName, this);
    controls_.insert(ids_.adapterName, name);
    grid->addWidget(name, 0, 0, 1, 4);
    minimumBox_ = extremeBox(ids_.minimumBox, ids_.minimumDate, ids_.minimumTime, ids_.minimumValue,
                             this, controls_);
    maximumBox_ = extremeBox(ids_.maximumBox, ids_.maximumDate, ids_.maximumTime, ids_.maximumValue,
                             this, controls_);
    grid->addWidget(minimumBox_, 1, 0, 1, 4);
    grid->addWidget(maximumBox_, 2, 0, 1, 4);

    temperatureLabel_ = add(new QLabel(this), ids_.temperatureLabel);
    const std::pair<QLabel*, int> readings[] = {
        {temperatureLabel_, ids_.temperature},
        {new QLabel(QStringLiteral("Core Clock"), this), ids_.coreClock},
        {new QLabel(QStringLiteral("Memory Clock"), this), ids_.memoryClock},
        {new QLabel(QStringLiteral("VID Voltage"), this), ids_.voltage},
        {new QLabel(QStringLiteral("PCI-E Link Width"), this), ids_.linkWidth},
    };
    int row = 3;
    for (const auto& [label, id] : readings) {
        QLabel* field = infoField(id, this);
        controls_.insert(id, field);
        grid->addWidget(label, row, 0, 1, 2);
        grid->addWidget(field, row, 2, 1, 2);
        ++row;
    }
    period_ = add(new QLineEdit(this), ids_.period);
    period_->setMaximumWidth(60);
    grid->addWidget(
        new QLabel(QString::fromUtf8(ids_.periodLabel.data(), qsizetype(ids_.periodLabel.size())),
                   this),
        row, 0, 1, 2);
    grid->addWidget(period_, row, 2, 1, 2);
    freeze_ = add(new QCheckBox(QStringLiteral("Disable GPU Sensor Reading"), this), ids_.freeze);
    grid->addWidget(freeze_, ++row, 0, 1, 4);

    gpuButton_ = add(new QPushButton(this), ids_.gpuButton);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(gpuButton_);
    if (ids_.okAndCancel) {
        for (const auto& [id, caption] : {std::pair{kOkButton, "OK"}, {kCancelButton, "Cancel"}}) {
            auto* button = add(new QPushButton(QString::fromLatin1(caption), this), id);
            connect(button, &QPushButton::clicked, this, &QWidget::close);
            buttons->addWidget(button);
        }
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(gpuButton_, &QPushButton::clicked, this, [this] { stepGpu(); });
    connect(freeze_, &QCheckBox::toggled, this, [this](bool frozen) {
        if (AtiSensor* sensor = engine_.gpuSources().ati()) {
            view_.setFrozen(*sensor, frozen);
            redisplay();
        }
    });
    connect(period_, &QLineEdit::editingFinished, this, [this] {
        view_.periodEdited(period_->text().toStdString());
        period_->setText(infoText(view_.texts().period));
    });
}

void AtiInfoWindow::buildMenu() {
    menu_ = resetCloseMenu(this, kAtiResetCommand, kAtiCloseCommand, [this] { reset(); });
}

void AtiInfoWindow::refresh() {
    const AtiSensor* sensor = engine_.gpuSources().ati();
    if (sensor == nullptr) {
        close();
        return;
    }
    view_.refresh(*sensor);
    redisplay();
}

void AtiInfoWindow::stepGpu() {
    AtiSensor* sensor = engine_.gpuSources().ati();
    if (sensor == nullptr || !view_.stepGpu(*sensor)) {
        close();
        return;
    }
    redisplay();
}

void AtiInfoWindow::reset() {
    if (AtiSensor* sensor = engine_.gpuSources().ati()) {
        view_.reset(*sensor);
        redisplay();
    }
}

void AtiInfoWindow::redisplay() {
    const AtiInfoTexts& t = view_.texts();
    const std::pair<int, const std::string*> fields[] = {
        {ids_.adapterName, &t.adapterName},
        {ids_.minimumDate, &t.minimum.date},
        {ids_.minimumTime, &t.minimum.time},
        {ids_.minimumValue, &t.minimum.value},
        {ids_.maximumDate, &t.maximum.date},
        {ids_.maximumTime, &t.maximum.time},
        {ids_.maximumValue, &t.maximum.value},
        {ids_.temperature, &t.temperature},
        {ids_.coreClock, &t.coreClock},
        {ids_.memoryClock, &t.memoryClock},
        {ids_.voltage, &t.voltage},
        {ids_.linkWidth, &t.linkWidth},
        {ids_.temperatureLabel, &t.temperatureCaption},
    };
    showTexts(controls_, fields);
    minimumBox_->setTitle(infoText(t.minimumCaption));
    maximumBox_->setTitle(infoText(t.maximumCaption));
    gpuButton_->setText(infoText(t.gpuButton));
    const QSignalBlocker quiet(freeze_);
    freeze_->setChecked(view_.frozen());
    period_->setEnabled(view_.periodEnabled());
}

void AtiInfoWindow::contextMenuEvent(QContextMenuEvent* event) {
    menu_->exec(event->globalPos());
}

// A period typed but not yet confirmed by leaving the field counts too.
void AtiInfoWindow::closeEvent(QCloseEvent* event) {
    timer_.stop();
    if (period_->isModified()) {
        view_.periodEdited(period_->text().toStdString());
    }
    if (!engine_.settingsFile().empty()) {
        saveAtiSensorKeys(engine_.settingsFile(), view_.keysToSave());
    }
    event->accept();
}

}  // namespace calidus
