#include "ui/SensorTestWindow.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/Shell.h"
#include "ui/MessageBox.h"
#include "ui/QtText.h"
#include "ui/UiFonts.h"
#include "view/SensorTestLayout.h"

namespace calidus {

namespace {

QLabel* valueField(int id, QWidget* parent) {
    auto* field = new QLabel(parent);
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setAlignment(Qt::AlignCenter);
    field->setMinimumWidth(44);
    field->setObjectName(QStringLiteral("c%1").arg(id));
    return field;
}

QPushButton* button(const char* caption, int id, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QStringLiteral("c%1").arg(id));
    return button;
}

}  // namespace

SensorTestWindow::SensorTestWindow(const Edition& edition, SensorTestInputs inputs, Shell& shell,
                                   QWidget* parent)
    : QDialog(parent), edition_(edition), test_(std::move(inputs)), shell_(shell) {
    const SensorTestControls& ids = sensorTestControls(edition);
    const int columns = static_cast<int>(ids.columnLabels.size());
    setWindowTitle(QStringLiteral("Sensor Test"));
    setModal(true);
    setFont(dialogFont());

    auto* movementBox = new QGroupBox(QStringLiteral("Sensor Movement Test"), this);
    auto* movementGrid = new QGridLayout(movementBox);
    movementGrid->addWidget(new QLabel(QStringLiteral("Movement"), movementBox), 1, 0);
    for (int column = 0; column < columns; ++column) {
        movementGrid->addWidget(new QLabel(qs(ids.columnLabels[std::size_t(column)]), movementBox),
                                0, column + 1, Qt::AlignCenter);
        const int id = ids.movement[std::size_t(column)];
        movementGrid->addWidget(fields_[id] = valueField(id, movementBox), 1, column + 1);
    }
    movementGrid->setColumnMinimumWidth(columns + 1, 56);

    auto* coolBox = new QGroupBox(QStringLiteral("CPU Cool Down Test"), this);
    auto* coolGrid = new QGridLayout(coolBox);
    for (int column = 0; column < columns; ++column) {
        coolGrid->addWidget(new QLabel(qs(ids.columnLabels[std::size_t(column)]), coolBox), 0,
                            column + 1, Qt::AlignCenter);
    }
    coolGrid->addWidget(new QLabel(QStringLiteral("CPU Load"), coolBox), 0, columns + 1,
                        Qt::AlignCenter);
    for (int row = 0; row < kSensorTestRows; ++row) {
        const auto r = std::size_t(row);
        coolGrid->addWidget(
            new QLabel(QStringLiteral("%1  %2").arg(row + 1).arg(qs(ids.rowLabels[r])), coolBox),
            row + 1, 0);
        for (int column = 0; column < columns; ++column) {
            const int id = ids.rows[r][std::size_t(column)];
            coolGrid->addWidget(fields_[id] = valueField(id, coolBox), row + 1, column + 1);
        }
        fields_[ids.loads[r]] = valueField(ids.loads[r], coolBox);
        fields_[ids.loads[r]]->setMinimumWidth(56);
        coolGrid->addWidget(fields_[ids.loads[r]], row + 1, columns + 1);
    }

    status_ = new QLabel(this);
    status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status_->setObjectName(QStringLiteral("c%1").arg(ids.status));
    status_->setMinimumHeight(22);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, kSensorTestTicks);
    progress_->setFormat(QStringLiteral("%v of %m s"));
    progress_->setValue(0);

    start_ = button("Start", ids.start, this);
    stop_ = button("Stop", ids.stop, this);
    download_ = button("Download Prime 95", ids.download, this);
    connect(start_, &QPushButton::clicked, this, [this] { start(); });
    connect(stop_, &QPushButton::clicked, this, [this] { stop(); });
    connect(download_, &QPushButton::clicked, this, [this] { download(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addWidget(stop_);
    buttons->addStretch(1);
    buttons->addWidget(download_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(movementBox);
    layout->addWidget(coolBox);
    layout->addWidget(status_);
    layout->addWidget(progress_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    timer_.setInterval(int(kTestTick.count()));
    connect(&timer_, &QTimer::timeout, this, [this] { onTick(); });
    movementTimer_.setSingleShot(true);
    connect(&movementTimer_, &QTimer::timeout, this, [this] {
        test_.finishMovementTest();
        refresh();
    });
    refresh();
}

SensorTestWindow::~SensorTestWindow() {
    timer_.stop();
}

void SensorTestWindow::placeBeside(const ScreenRect& mainWindow, bool composition) {
    adjustSize();
    const QScreen* screen = this->screen();
    const int screenWidth = screen != nullptr ? screen->geometry().width() : 0;
    const ScreenPoint at =
        sensorTestPosition(mainWindow, frameGeometry().width(), screenWidth, composition);
    move(at.x, at.y);
}

void SensorTestWindow::begin() {
    test_.open();
    refresh();
    movementTimer_.start(int(kMovementTime.count()));
}

std::optional<QString> SensorTestWindow::chooseProgram() {
    if (chooser_) {
        return chooser_();
    }
    // Qt's own dialog, so that the note on the arguments can go under it.
    QFileDialog dialog(this, QStringLiteral("Open Prime95 - Use Small FFTs option"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("Programs (*)"));
    dialog.selectFile(QStringLiteral("mprime"));
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        auto* note = new QLabel(qs(kStressArgumentsNote), &dialog);
        note->setWordWrap(true);
        grid->addWidget(note, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

void SensorTestWindow::start() {
    test_.prepareStart();
    refresh();
    const std::optional<QString> program = chooseProgram();
    if (!program) {
        test_.programNotChosen();
    } else if (test_.startProgram(program->toStdString())) {
        timer_.start();
    }
    refresh();
}

void SensorTestWindow::stop() {
    timer_.stop();
    test_.stop();
    refresh();
}

void SensorTestWindow::download() {
    test_.download();
    shell_.open(std::string(kStressProgramDownloadPage));
    refresh();
}

void SensorTestWindow::onTick() {
    const std::optional<SensorTestMessage> message = test_.tick();
    if (!test_.running()) {
        timer_.stop();
    }
    refresh();
    if (message) {
        showMessageBox(this, message->caption, message->text, MessageIcon::Error);
    }
}

void SensorTestWindow::refresh() {
    const SensorTestControls& ids = sensorTestControls(edition_);
    const SensorTestView& view = test_.view();
    for (std::size_t column = 0; column < view.movement.size(); ++column) {
        fields_[ids.movement[column]]->setText(qs(view.movement[column]));
    }
    for (std::size_t row = 0; row < view.rows.size(); ++row) {
        for (std::size_t column = 0; column < view.rows[row].size(); ++column) {
            fields_[ids.rows[row][column]]->setText(qs(view.rows[row][column]));
        }
        fields_[ids.loads[row]]->setText(qs(view.loads[row]));
    }
    status_->setText(qs(view.status));
    progress_->setValue(test_.tickCount());
    start_->setEnabled(view.startEnabled);
    stop_->setEnabled(view.stopEnabled);
    download_->setEnabled(view.downloadEnabled);
}

}  // namespace calidus
