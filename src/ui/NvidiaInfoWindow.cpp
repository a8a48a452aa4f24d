#include "ui/NvidiaInfoWindow.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Engine.h"
#include "ui/InfoFields.h"
#include "ui/UiFonts.h"

namespace calidus {

NvidiaInfoWindow::NvidiaInfoWindow(const Edition& edition, Engine& engine, Clock& clock,
                                   QWidget* parent)
    : QWidget(parent, Qt::Dialog),
      ids_(nvidiaInfoIds(edition)),
      engine_(engine),
      view_(edition, *engine.settings(), clock) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("NVIDIA Information"));
    setFont(dialogFont());
    buildControls();
    buildMenu();
    connect(&timer_, &QTimer::timeout, this, [this] { refresh(); });
    if (const NvidiaSensor* sensor = engine_.gpuSources().nvidia()) {
        view_.open(*sensor);
    }
    redisplay();
    timer_.start(engine_.settings()->refreshInterval);
}

void NvidiaInfoWindow::buildControls() {
    auto* grid = new QGridLayout;
    QLabel* name = infoField(ids_.name, this);
    controls_.insert(ids_.name, name);
    grid->addWidget(name, 0, 0, 1, 2);
    const std::pair<const char*, int> details[] = {
        {"Driver Version", ids_.driverVersion},
        {"Link Width", ids_.linkWidth},
        {"Memory", ids_.memory},
    };
    int row = 1;
    for (const auto& [caption, id] : details) {
        QLabel* field = infoField(id, this);
        controls_.insert(id, field);
        grid->addWidget(new QLabel(QString::fromLatin1(caption), this), row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    }
    minimumBox_ = extremeBox(ids_.minimumBox, ids_.minimumDate, ids_.minimumTime, ids_.minimumValue,
                             this, controls_);
    maximumBox_ = extremeBox(ids_.maximumBox, ids_.maximumDate, ids_.maximumTime, ids_.maximumValue,
                             this, controls_);
    grid->addWidget(minimumBox_, row++, 0, 1, 2);
    grid->addWidget(maximumBox_, row, 0, 1, 2);

    gpuButton_ = new QPushButton(this);
    nameControl(gpuButton_, ids_.gpuButton);
    controls_.insert(ids_.gpuButton, gpuButton_);
    connect(gpuButton_, &QPushButton::clicked, this, [this] { stepGpu(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(gpuButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void NvidiaInfoWindow::buildMenu() {
    menu_ = resetCloseMenu(this, kNvidiaResetCommand, kNvidiaCloseCommand, [this] { reset(); });
}

void NvidiaInfoWindow::refresh() {
    const NvidiaSensor* sensor = engine_.gpuSources().nvidia();
    if (sensor == nullptr) {
        close();
        return;
    }
    view_.refresh(*sensor);
    redisplay();
}

void NvidiaInfoWindow::stepGpu() {
    const NvidiaSensor* sensor = engine_.gpuSources().nvidia();
    if (sensor == nullptr || !view_.stepGpu(*sensor)) {
        close();
        return;
    }
    redisplay();
}

void NvidiaInfoWindow::reset() {
    if (NvidiaSensor* sensor = engine_.gpuSources().nvidia()) {
        view_.reset(*sensor);
        redisplay();
    }
}

void NvidiaInfoWindow::redisplay() {
    const NvidiaInfoTexts& t = view_.texts();
    const std::pair<int, const std::string*> fields[] = {
        {ids_.name, &t.name},
        {ids_.driverVersion, &t.driverVersion},
        {ids_.linkWidth, &t.linkWidth},
        {ids_.memory, &t.memory},
        {ids_.minimumDate, &t.minimum.date},
        {ids_.minimumTime, &t.minimum.time},
        {ids_.minimumValue, &t.minimum.value},
        {ids_.maximumDate, &t.maximum.date},
        {ids_.maximumTime, &t.maximum.time},
        {ids_.maximumValue, &t.maximum.value},
    };
    showTexts(controls_, fields);
    minimumBox_->setTitle(infoText(t.minimumCaption));
    maximumBox_->setTitle(infoText(t.maximumCaption));
    gpuButton_->setText(infoText(t.gpuButton));
}

void NvidiaInfoWindow::contextMenuEvent(QContextMenuEvent* event) {
    menu_->exec(event->globalPos());
}

void NvidiaInfoWindow::closeEvent(QCloseEvent* event) {
    timer_.stop();
    event->accept();
}

}  // namespace calidus
