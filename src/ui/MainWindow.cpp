#include "ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QSystemTrayIcon>
#include <QWindow>
#include <algorithm>
#include <ctime>
#include <vector>

#include "app/Engine.h"
#include "platform/Clock.h"
#include "platform/Shell.h"
#include "ui/AboutWindow.h"
#include "ui/Artwork.h"
#include "ui/GroupFrameStyle.h"
#include "ui/MessageBox.h"
#include "ui/QtText.h"
#include "ui/UiFonts.h"
#include "view/HoverHitTest.h"
#include "view/WindowColours.h"
#include "view/WorkArea.h"

namespace calidus {

namespace {

constexpr int kHoverDelayMs = 3000;
constexpr int kMiniResizeEdge = 5;
// How long a placement waits for the window manager's answer before Qt's report stands again.
constexpr int kSettleLimitMs = 500;

ScreenRect toScreenRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

std::vector<Monitor> monitors() {
    std::vector<Monitor> list;
    for (const QScreen* screen : QGuiApplication::screens()) {
        list.push_back(
            {toScreenRect(screen->geometry()), toScreenRect(screen->availableGeometry())});
    }
    return list;
}

ScreenRect workAreaFor(const ScreenRect& window) {
    const std::vector<Monitor> list = monitors();
    return nearestWorkArea(window, list);
}

bool contains(const std::vector<int>& ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

MainWindow::MainWindow(const Edition& edition, LiveSettings& settings, Shell& shell, Clock& clock,
                       QWidget* parent)
    : QWidget(parent),
      edition_(edition),
      layout_(mainWindowLayout(edition)),
      settings_(settings),
      shell_(shell),
      clock_(clock),
      desktop_{.invisibleBorders = shell.compositionWithInvisibleBorders(), .legacyFrames = false} {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(qs(edition.windowTitle));
    setWindowIcon(programIcon());
    setFont(dialogFont());
    setFixedSize(toPixelsAcross(layout_.width), toPixelsDown(layout_.height));
    setMouseTracking(true);
    buildControls();
    buildContextMenu();
    hoverTimer_.setSingleShot(true);
    settleTimer_.setSingleShot(true);
    connect(&settleTimer_, &QTimer::timeout, this, [this] { endSettling(); });
    connect(&hoverTimer_, &QTimer::timeout, this, [this] { showHoverDate(hoverPoint_); });
    if (qApp != nullptr) {
        qApp->installEventFilter(this);
    }
}

MainWindow::~MainWindow() {
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
}

void MainWindow::buildControls() {
    for (const ControlSpec& spec : layout_.controls) {
        QWidget* widget = nullptr;
        switch (spec.kind) {
            case ControlKind::GroupBox:
                widget = new QGroupBox(qs(spec.caption), this);
                break;
            case ControlKind::Button: {
                auto* button = new QPushButton(qs(spec.caption), this);
                button->setFocusPolicy(Qt::TabFocus);
                widget = button;
                break;
            }
            case ControlKind::Field:
            case ControlKind::CoreField:
            case ControlKind::ValueField: {
                auto* field = new QLabel(this);
                field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                field->setAlignment(spec.kind == ControlKind::Field
                                        ? Qt::AlignLeft | Qt::AlignVCenter
                                        : Qt::AlignCenter);
                field->setIndent(2);
                if (spec.kind == ControlKind::ValueField) {
                    field->setFont(valueFont());
                }
                widget = field;
                break;
            }
        }
        if (spec.kind != ControlKind::Button) {
            // Presses fall through to the window, so it can be dragged by any point.
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        widget->setObjectName(QStringLiteral("c%1").arg(spec.id));
        const PixelRect r = toPixels(spec.rect);
        widget->setGeometry(r.x, r.y, r.width, r.height);
        widget->setVisible(!spec.initiallyHidden);
        controls_.insert(spec.id, widget);
    }
    auto connectButton = [this](int id, auto slot) {
        connect(static_cast<QPushButton*>(controls_.value(id)), &QPushButton::clicked, this, slot);
    };
    connectButton(control::kReset, [this] { resetStatistics(); });
    connectButton(control::kGpuButton, [this] { emit gpuButtonPressed(); });
    connectButton(control::kTovelBench, [this] { startBenchmark(); });
    connectButton(control::kSensorTest, [this] { emit sensorTestPressed(); });
    connectButton(control::kSettings, [this] { emit settingsRequested(); });

    QWidget* bench = controls_.value(control::kTovelBench);
    benchmarkProgress_ = new QProgressBar(bench);
    benchmarkProgress_->setObjectName(QStringLiteral("benchmarkProgress"));
    benchmarkProgress_->setRange(0, kBenchmarkSteps);
    benchmarkProgress_->setTextVisible(false);
    benchmarkProgress_->setGeometry(3, bench->height() - 5, bench->width() - 6, 3);
    benchmarkProgress_->hide();
}

QPushButton* MainWindow::button(int id) const {
    return static_cast<QPushButton*>(controls_.value(id));
}

void MainWindow::startBenchmark() {
    if (engine_ == nullptr || !engine_->monitoring() || benchmarkRunner_.running()) {
        return;
    }
    QPushButton* bench = button(control::kTovelBench);
    bench->setText(QStringLiteral("Testing..."));
    bench->setEnabled(false);
    button(control::kSensorTest)->setEnabled(false);
    button(control::kSettings)->setEnabled(false);
    button(control::kReset)->setText(QStringLiteral("Cancel"));
    benchmarkProgress_->setValue(0);
    benchmarkProgress_->show();
    engine_->benchmark().setRunning(true);
    benchmarkRunner_.start(
        engine_->benchmarkInputs(benchmarkStep_),
        [this](int steps) { benchmarkProgress_->setValue(steps); },
        [this](const std::optional<BenchmarkResult>& result) { finishBenchmark(result); });
}

void MainWindow::finishBenchmark(const std::optional<BenchmarkResult>& result) {
    engine_->benchmark().setRunning(false);
    benchmarkProgress_->hide();
    QPushButton* bench = button(control::kTovelBench);
    if (result) {
        bench->setText(QStringLiteral("Done"));
    }
    button(control::kSensorTest)->setEnabled(true);
    button(control::kSettings)->setEnabled(true);
    button(control::kReset)->setText(QStringLiteral("Reset"));
    if (result && !result->cancelled) {
        showMessage("Tovel Bench Score", benchmarkText(*result, edition_),
                    MessageIcon::Information);
    }
    bench->setText(QStringLiteral("Tovel Bench"));
    bench->setEnabled(true);
    bench->setFocus();
}

void MainWindow::setSensorTestOpen(bool open) {
    QPushButton* sensorTest = button(control::kSensorTest);
    sensorTest->setText(open ? QStringLiteral("Testing...") : QStringLiteral("Sensor Test"));
    sensorTest->setEnabled(!open);
    if (!open) {
        sensorTest->setFocus();
    }
}

void MainWindow::buildContextMenu() {
    contextMenu_ = new QMenu(this);
    contextMenu_->addAction(QStringLiteral("Set Anchor Position"), this,
                            [this] { setAnchorPosition(); });
    contextMenu_->addAction(QStringLiteral("Move To Anchor"), this, [this] { moveToAnchor(); });
    contextMenu_->addSeparator();
    contextMenu_->addAction(QStringLiteral("Minimize"), this, [this] { minimizeFromMenu(); });
    contextMenu_->addAction(QStringLiteral("Exit"), this, [this] { quit(); });
    // The window manager owns the system menu here, so "About" lives at the end of this one.
    contextMenu_->addSeparator();
    contextMenu_->addAction(QStringLiteral("&About..."), this, [this] { openAbout(); });
    contextMenu_->addSeparator();
    contextMenu_->addAction(QStringLiteral("History"), this, [this] { openHistory(); });
    hoverMenu_ = new QMenu(this);
}

void MainWindow::bindEngine(Engine* engine) {
    engine_ = engine;
}

void MainWindow::setTrayLink(TrayLink link) {
    tray_ = std::move(link);
}

void MainWindow::setMessageSink(MessageSink sink) {
    messageSink_ = std::move(sink);
}

bool MainWindow::trayAvailable() const {
    return tray_.available ? tray_.available() : QSystemTrayIcon::isSystemTrayAvailable();
}

void MainWindow::prepareForStart() {
    allowShow_ = allowShowAtStart(settings_->startMinimized, settings_->miniMode,
                                  settings_->taskBar, trayAvailable());
    if (settings_->anchorXY != 0) {
        anchor_.anchor = unpackPosition(settings_->anchorXY);
        anchor_.previous = anchor_.anchor;
    }
    applyHeadingStyle(settings_->miniMode ? settings_->miniHeading : settings_->normHeading);
    const bool gpu = engine_ != nullptr && engine_->monitoring() && engine_->state().gpuPresent;
    showGpuOrSignature(gpu);
    if (engine_ != nullptr) {
        const DisplayTexts& texts = engine_->texts();
        setFieldText(control::kModel, texts.model);
        control(control::kModel)->setToolTip(qs(texts.modelTooltip));
        setFieldText(control::kSignature, texts.shortSignature);
        static_cast<QPushButton*>(control(control::kGpuButton))->setText(qs(texts.signature));
        static_cast<QGroupBox*>(control(control::kTemperatureBox))->setTitle(qs(texts.heading));
    }
    applyColours();
    placeFromSavedPosition();
}

void MainWindow::showGpuOrSignature(bool gpuSourceRuns) {
    control(control::kGpuButton)->setVisible(gpuSourceRuns);
    control(control::kSignature)->setVisible(layout_.signatureAlwaysShown || !gpuSourceRuns);
}

ScreenRect MainWindow::windowRect() const {
    return pendingFrame_ ? *pendingFrame_ : windowRectNow();
}

ScreenRect MainWindow::windowRectNow() const {
    // The window's own idea of where it is, which Qt updates as the manager reports it (the
    // widget's copy lags until the next move event), and the frame the manager draws around the
    // normal form: a withdrawn window has none, nor has one shown again until it is framed.
    const QWindow* handle = windowHandle();
    if (handle == nullptr) {
        return toScreenRect(frameGeometry());
    }
    if (miniActive_) {
        return toScreenRect(handle->geometry());
    }
    const QMargins margins = handle->frameMargins();
    if (!margins.isNull()) {
        frameMargins_ = margins;
    }
    return toScreenRect(handle->geometry().marginsAdded(frameMargins_));
}

ScreenRect MainWindow::workArea() const {
    return workAreaFor(windowRect());
}

void MainWindow::moveWindowTo(const ScreenRect& target) {
    move(target.left, target.top);
    // Qt places a hidden window by the frame margins it last knew, which a window shown again
    // in another form or without its frame yet does not have: it is placed again once shown.
    settleTimer_.stop();
    settling_ = false;
    if (QWidget::isVisible()) {
        pendingFrame_.reset();
    } else {
        pendingFrame_ = target;
    }
}

void MainWindow::settlePlacement() {
    const QPoint wanted(pendingFrame_->left, pendingFrame_->top);
    if (windowRectNow().topLeft() == ScreenPoint{wanted.x(), wanted.y()}) {
        pendingFrame_.reset();
        return;
    }
    // The manager puts the frame there itself, whatever Qt knows of its margins. Until it has
    // answered, the target stands for the window's place.
    settling_ = true;
    settleTimer_.start(kSettleLimitMs);
    windowHandle()->setFramePosition(wanted);
}

void MainWindow::endSettling() {
    settleTimer_.stop();
    settling_ = false;
    pendingFrame_.reset();
}

void MainWindow::placeFromSavedPosition() {
    const ScreenRect current = windowRect();
    const std::optional<ScreenRect> target = calidus::placeFromSavedPosition(
        settings_->windowXY, current, monitors(), desktop_, edition_.isXL());
    if (target) {
        moveWindowTo(*target);
    }
}

void MainWindow::toggleMiniMode() {
    settings_.set(KeyId::MiniMode, !settings_->miniMode);
    const bool wasVisible = QWidget::isVisible();
    const ScreenRect before = windowRect();
    if (!miniActive_) {
        applyHeadingStyle(settings_->miniHeading);
        normalFlags_ = windowFlags();
        const WindowSize miniOuter{layout_.miniClientWidth, layout_.miniClientHeight};
        const MiniEntry entry = enterMiniGeometry(before, miniOuter, workArea(), desktop_);
        normalRect_ = entry.normal;
        // The new flags hide the window until it is shown again below.
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint |
                       (normalFlags_ & Qt::WindowStaysOnTopHint));
        const SizeLimits limits = miniSizeLimits(miniOuter);
        setMinimumSize(limits.minimum.width, limits.minimum.height);
        setMaximumSize(limits.maximum.width, limits.maximum.height);
        miniActive_ = true;
        // Frameless, so the client rectangle is the whole window.
        resize(miniOuter.width, miniOuter.height);
        moveWindowTo(entry.mini);
    } else {
        miniActive_ = false;
        applyHeadingStyle(settings_->normHeading);
        setWindowFlags((normalFlags_ & ~Qt::WindowStaysOnTopHint) |
                       (windowFlags() & Qt::WindowStaysOnTopHint));
        setFixedSize(toPixelsAcross(layout_.width), toPixelsDown(layout_.height));
        moveWindowTo(leaveMiniGeometry(before, normalRect_, desktop_));
    }
    if (wasVisible) {
        show();
    }
    applyColours();
    textsPending_ = engine_ != nullptr && engine_->monitoring();
    if (QWidget::isVisible()) {
        showTexts();
    }
    update();
}

void MainWindow::enterSavedMiniMode() {
    settings_.set(KeyId::MiniMode, false);
    toggleMiniMode();
}

void MainWindow::applyHeadingStyle(bool plain) {
    // Linux has no per-control themes to switch off; the classic style draws group titles
    // plainly in the palette's colour, which is what lets the heading colour show.
    if (plain && plainStyle_ == nullptr) {
        plainStyle_ = QStyleFactory::create(QStringLiteral("Windows"));
        if (plainStyle_ != nullptr) {
            plainStyle_->setParent(this);
        }
    }
    if (!plain && groupStyle_ == nullptr) {
        groupStyle_ = new GroupFrameStyle;
        groupStyle_->setParent(this);
    }
    for (int id : {control::kHeaderBox, control::kTemperatureBox, control::kDistanceBox,
                   control::kMinimumBox, control::kMaximumBox, control::kStatusBox}) {
        control(id)->setStyle(plain ? plainStyle_ : groupStyle_);
    }
    headingPlain_ = plain;
}

void MainWindow::applyColours() {
    const ColourScheme scheme = colourScheme(*settings_, miniActive_);
    QPalette windowPalette = QApplication::palette(this);
    if (scheme.custom) {
        windowPalette.setColor(QPalette::Window, toQColor(scheme.background));
    }
    if (palette() != windowPalette) {
        setPalette(windowPalette);
    }
    setAutoFillBackground(scheme.custom);
    const std::vector<int> headings(headingBoxes().begin(), headingBoxes().end());
    for (const ControlSpec& spec : layout_.controls) {
        if (spec.kind == ControlKind::Button || contains(layout_.status, spec.id)) {
            continue;
        }
        const ControlRole role = spec.id == control::kHeaderBox ? ControlRole::HeaderBox
                                 : contains(headings, spec.id)  ? ControlRole::Heading
                                                                : ControlRole::Value;
        colourControl(spec.id, controlColours(role, scheme, {}));
    }
    applyStatusColours();
}

void MainWindow::applyStatusColours() {
    const ColourScheme scheme = colourScheme(*settings_, miniActive_);
    for (int column = 0; column < layout_.columns(); ++column) {
        colourControl(layout_.status[column],
                      controlColours(ControlRole::Status, scheme, slotStatus(column)));
    }
}

void MainWindow::colourControl(int id, const ControlColours& colours) {
    QPalette palette = this->palette();
    if (colours.text) {
        palette.setColor(QPalette::WindowText, toQColor(*colours.text));
        palette.setColor(QPalette::Text, toQColor(*colours.text));
    }
    QWidget* widget = control(id);
    if (widget->palette() != palette) {
        widget->setPalette(palette);
    }
}

SlotStatus MainWindow::slotStatus(int column) const {
    if (engine_ == nullptr || !engine_->monitoring()) {
        return {};
    }
    const CoreSample& core = engine_->state().cores[edition_.monitoredCores[column]];
    return {core.thermalStatus, core.thermalLog};
}

void MainWindow::applyOnTop(bool onTop) {
    const bool wasVisible = QWidget::isVisible();
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (wasVisible) {
        show();
    }
    setAttribute(Qt::WA_ShowWithoutActivating, false);
}

void MainWindow::setFieldText(int id, const std::string& text) {
    auto* field = qobject_cast<QLabel*>(control(id));
    if (field == nullptr) {
        return;
    }
    if (field->isHidden()) {
        fieldTexts_.erase(id);
        return;
    }
    std::string& shown = fieldTexts_[id];
    if (shown != text || field->text().isEmpty() != text.empty()) {
        shown = text;
        field->setText(qs(text));
    }
}

void MainWindow::refreshFromEngine() {
    ticked_ = true;
    const ScreenRect rect = isMinimized() || showState_.hidden() ? ScreenRect{} : windowRect();
    const PlacementRecorder::Outcome outcome = placement_.record(rect, settings_->onTop);
    if (outcome.applyOnTop) {
        applyOnTop(*outcome.applyOnTop);
    }
    if (engine_ == nullptr || !engine_->monitoring()) {
        return;
    }
    if (outcome.showTemperatureTitle) {
        setWindowTitle(qs(engine_->texts().title));
    }
    textsPending_ = true;
    if (isVisible() && !isMinimized()) {
        showTexts();
    }
}

void MainWindow::showTexts() {
    if (!textsPending_) {
        return;
    }
    textsPending_ = false;
    const DisplayTexts& texts = engine_->texts();
    for (int column = 0; column < layout_.columns(); ++column) {
        const CoreTexts& core = texts.cores[edition_.monitoredCores[column]];
        setFieldText(layout_.temperature[column], core.temperature);
        setFieldText(layout_.distance[column], core.distance);
        setFieldText(layout_.minimum[column], core.minimum);
        setFieldText(layout_.minimumTime[column], core.minimumTime);
        setFieldText(layout_.maximum[column], core.maximum);
        setFieldText(layout_.maximumTime[column], core.maximumTime);
        setFieldText(layout_.status[column], core.status);
    }
    setFieldText(control::kClock, texts.clock);
    setFieldText(control::kMultiplier, texts.busClock);
    setFieldText(control::kLoad, texts.load);
    setFieldText(control::kVid, texts.vidOrRunTime);
    static_cast<QGroupBox*>(control(control::kTemperatureBox))->setTitle(qs(texts.heading));
    static_cast<QGroupBox*>(control(control::kStatusBox))->setTitle(qs(texts.statusCaption));
    if (engine_->state().gpuPresent) {
        showGpuOrSignature(true);
        static_cast<QPushButton*>(control(control::kGpuButton))->setText(qs(texts.gpuButton));
    }
    // The scheme changes only with the form or the settings; the log bits with every tick.
    applyStatusColours();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    showTexts();
}

void MainWindow::applyAppearance() {
    applyHeadingStyle(miniActive_ ? settings_->miniHeading : settings_->normHeading);
    applyColours();
    update();
}

void MainWindow::settingsOpened() {
    button(control::kSettings)->setEnabled(false);
}

void MainWindow::settingsClosed(bool ok) {
    if (ok && engine_ != nullptr) {
        showGpuOrSignature(engine_->state().gpuPresent);
        static_cast<QGroupBox*>(control(control::kTemperatureBox))
            ->setTitle(qs(engine_->texts().heading));
    }
    button(control::kSettings)->setEnabled(true);
    applyAppearance();
}

WindowPositionAtExit MainWindow::positionAtExit() const {
    WindowPositionAtExit position;
    if (placement_.known()) {
        position.topLeft = placement_.rect().topLeft();
    }
    position.compositionShift = !miniActive_ && desktop_.invisibleBorders;
    position.anchor = anchor_.anchor;
    position.previousAnchor = anchor_.previous;
    return position;
}

void MainWindow::showMessage(const std::string& caption, const std::string& text,
                             MessageIcon icon) {
    if (messageSink_) {
        messageSink_(caption, text, icon);
        return;
    }
    showMessageBox(this, caption, text, icon);
}

void MainWindow::setAnchorPosition() {
    const std::string text =
        calidus::setAnchorPosition(anchor_, windowRect(), miniActive_, desktop_);
    showMessage("Anchor Position", text, MessageIcon::None);
}

void MainWindow::moveToAnchor() {
    dragging_ = false;
    const ScreenRect before = windowRect();
    const ScreenRect target = anchorTarget(anchor_, before, miniActive_, desktop_);
    moveWindowTo(target);
    if (isOffScreen(target, workAreaFor(target))) {
        moveWindowTo(before);
        showMessage("Error", "Screen position is not available.\nSet a new Anchor Position.",
                    MessageIcon::Error);
    }
}

void MainWindow::showHoverDate(QPoint clientPoint) {
    if (miniActive_ || engine_ == nullptr || !engine_->monitoring()) {
        return;
    }
    const std::optional<HoverHit> hit =
        layout_.columns() == 4 ? hoverHitFourColumns(clientPoint.x(), clientPoint.y(), width())
                               : hoverHitSixColumns(clientPoint.x(), clientPoint.y());
    if (!hit) {
        return;
    }
    const int core = edition_.monitoredCores[hit->column];
    if (!engine_->configuration().corePresent(core)) {
        return;
    }
    const CoreSample& sample = engine_->state().cores[core];
    const std::time_t when = hit->row == ExtremeRow::Minimum ? sample.minTime : sample.maxTime;
    hoverMenu_->clear();
    hoverMenu_->addAction(qs(hoverDateText(clock_.localTime(when))));
    const QSize size = hoverMenu_->sizeHint();
    hoverMenu_->popup(mapToGlobal(clientPoint) - QPoint(size.width() / 2, size.height()));
}

void MainWindow::openAbout() {
    std::string model = "-----";
    std::uint32_t signature = 0;
    if (engine_ != nullptr && engine_->monitoring()) {
        // The model number ("Core i7-920"), not the window's model text with its display
        // prefixes ("Xeon ", "Intel "), which the search would not find.
        if (!engine_->processor().modelNumber.empty()) {
            model = engine_->processor().modelNumber;
        }
        signature = engine_->processor().cpuSignature;
    }
    AboutWindow about(edition_, shell_, model, signature, this);
    about.exec();
}

void MainWindow::minimize() {
    touchTray();
    // Straight to the tray rather than minimized first: a window manager that reports the
    // minimize after the window was withdrawn would undo the next restore.
    if (hideOnMinimize(settings_->taskBar, trayAvailable())) {
        hideToTray();
    } else {
        showMinimized();
    }
}

void MainWindow::minimizeFromMenu() {
    switch (minimizeMenuAction(showState_.restored(), settings_->taskBar)) {
        case MinimizeAction::Minimize:
            minimize();
            break;
        case MinimizeAction::Hide:
            hideToTray();
            break;
        case MinimizeAction::Nothing:
            break;
    }
}

void MainWindow::hideToTray() {
    showState_.hiddenToTray();
    hide();
}

void MainWindow::restore() {
    allowShow_ = true;
    showState_.restoredByRequest();
    setWindowTitle(qs(edition_.windowTitle));
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::moveToTopRight() {
    // Placed before it shows, so a window coming back from the tray is checked once it has.
    const ScreenRect before = windowRect();
    const ScreenRect target = topRightTarget(before, workArea(), miniActive_, desktop_);
    moveWindowTo(target);
    if (isOffScreen(target, workAreaFor(target))) {
        moveWindowTo(before);
    }
    restore();
}

void MainWindow::resetStatistics() {
    if (engine_ != nullptr && engine_->monitoring()) {
        engine_->resetStatistics();
    }
}

void MainWindow::quit() {
    emit exitRequested();
}

void MainWindow::setVisible(bool visible) {
    // Until showing is allowed the program lives in the tray only.
    if (visible && !allowShow_) {
        return;
    }
    QWidget::setVisible(visible);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        raise();
        activateWindow();
        const QSize size = contextMenu_->sizeHint();
        contextMenu_->exec(event->globalPosition().toPoint() - QPoint(0, size.height()));
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    hoverTimer_.stop();
    if (miniActive_ && event->position().y() >= height() - kMiniResizeEdge) {
        QWindow* handle = windowHandle();
        resizingMini_ = handle == nullptr || !handle->startSystemResize(Qt::BottomEdge);
        return;
    }
    dragging_ = true;
    endSettling();
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (resizingMini_) {
        resize(width(), std::clamp(int(event->position().y()), minimumHeight(), maximumHeight()));
        return;
    }
    if (dragging_) {
        move(event->globalPosition().toPoint() - dragOffset_);
        return;
    }
    hoverPoint_ = event->position().toPoint();
    hoverTimer_.start(kHoverDelayMs);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
        resizingMini_ = false;
    }
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
        toggleMiniMode();
    }
}

void MainWindow::leaveEvent(QEvent* event) {
    hoverTimer_.stop();
    QWidget::leaveEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        openAbout();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Move && settling_ && pendingFrame_ && watched == windowHandle() &&
        windowHandle()->frameGeometry().topLeft() ==
            QPoint(pendingFrame_->left, pendingFrame_->top)) {
        settling_ = false;
        pendingFrame_.reset();
    }
    if (event->type() == QEvent::Expose && pendingFrame_ && !settling_ &&
        watched == windowHandle() && windowHandle()->isExposed()) {
        settlePlacement();
    }
    // Alt+F4 always exits, even when the close box only minimizes.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QWidget* target = qobject_cast<QWidget*>(watched);
        if (key->key() == Qt::Key_F4 && (key->modifiers() & Qt::AltModifier) && target != nullptr &&
            target->window() == this) {
            settings_.set(KeyId::MinimizeOnClose, false);
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closeAction(settings_->minimizeOnClose) == CloseAction::Minimize) {
        event->ignore();
        minimize();
        return;
    }
    event->accept();
    emit exitRequested();
}

void MainWindow::touchTray() {
    // Before the first tick has added the icons there is nothing to touch yet.
    if (ticked_ && tray_.touchFirstIcon && !tray_.touchFirstIcon()) {
        settings_.set(KeyId::TaskBar, true);
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    const bool minimized = isMinimized();
    if (!showState_.reported(minimized)) {
        return;
    }
    if (!minimized) {
        setWindowTitle(qs(edition_.windowTitle));
        showTexts();
    }
    touchTray();
    if (minimized && hideOnMinimize(settings_->taskBar, trayAvailable())) {
        // Hidden once the state change is through, unless it was undone meanwhile.
        QTimer::singleShot(0, this, [this] {
            if (isMinimized() && hideOnMinimize(settings_->taskBar, trayAvailable())) {
                hideToTray();
            }
        });
    }
}

}  // namespace calidus
