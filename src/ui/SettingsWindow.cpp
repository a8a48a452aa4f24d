#include "ui/SettingsWindow.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "app/Engine.h"
#include "common/Text.h"
#include "config/SaveProblem.h"
#include "config/SettingsWriter.h"
#include "record/AlarmSettings.h"
#include "tools/PluginInstaller.h"
#include "ui/MessageBox.h"
#include "ui/NumberIcon.h"
#include "ui/QtText.h"
#include "ui/UiFonts.h"
#include "view/DisplayTexts.h"
#include "view/SettingsFieldRules.h"

namespace calidus {

namespace {

namespace c = settingsControl;

constexpr std::string_view kRefusedWrites =
    "The kernel refused to write the processor's registers (Secure Boot lockdown, or no "
    "permission to write them), so the processor switches are unavailable. Monitoring goes on.";

constexpr std::string_view kNoRegisters =
    "; the processor switches and VID need register access, which this run does not have";

std::string text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

ColourRef toColourRef(const QColor& colour) {
    return ColourRef(colour.red()) | ColourRef(colour.green()) << 8 |
           ColourRef(colour.blue()) << 16;
}

long long number(const QLineEdit* edit) {
    return edit->text().trimmed().toLongLong();
}

// The up-down control beside a read-only text: one widget with two arrows.
class SpinArrows : public QWidget {
  public:
    SpinArrows(QWidget* parent, std::function<void(bool up)> step) : QWidget(parent) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (const bool up : {true, false}) {
            auto* arrow = new QToolButton(this);
            arrow->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
            arrow->setAutoRepeat(true);
            arrow->setFocusPolicy(Qt::NoFocus);
            arrow->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
            layout->addWidget(arrow);
            connect(arrow, &QToolButton::clicked, this, [step, up] { step(up); });
        }
    }
};

}  // namespace

SettingsWindow::SettingsWindow(Engine& engine, SettingsWindowLinks links, QWidget* parent)
    : QDialog(parent),
      engine_(engine),
      links_(std::move(links)),
      edition_(engine.edition()),
      layout_(settingsWindowLayout(engine.edition())),
      pending_(engine.openSettings(features_)),
      fahrenheitAtOpening_(engine.settings()->fahrenheit) {
    setWindowTitle(QStringLiteral("Settings"));
    setFont(dialogFont());
    setModal(true);
    setFixedSize(toPixelsAcross(layout_.width), toPixelsDown(layout_.height));
    buildControls();
    connectControls();
    fill();
    place();
    // Opening writes C1E back; a refusal is told before anything else.
    afterSwitch();
}

void SettingsWindow::buildControls() {
    for (const SettingsControl& spec : layout_.controls) {
        QWidget* widget = nullptr;
        switch (spec.kind) {
            case SettingsControlKind::GroupBox:
                widget = new QGroupBox(qs(spec.caption), this);
                break;
            case SettingsControlKind::Static:
                widget = new QLabel(qs(spec.caption), this);
                break;
            case SettingsControlKind::Edit:
            case SettingsControlKind::NumberEdit:
            case SettingsControlKind::ReadOnlyEdit: {
                auto* field = new QLineEdit(this);
                field->setReadOnly(spec.kind == SettingsControlKind::ReadOnlyEdit);
                if (spec.kind == SettingsControlKind::NumberEdit) {
                    field->setValidator(new QRegularExpressionValidator(
                        QRegularExpression(QStringLiteral("[0-9]{0,9}")), field));
                }
                widget = field;
                break;
            }
            case SettingsControlKind::CheckBox:
                widget = new QCheckBox(qs(spec.caption), this);
                break;
            case SettingsControlKind::Button: {
                auto* push = new QPushButton(qs(spec.caption), this);
                push->setAutoDefault(false);
                widget = push;
                break;
            }
            case SettingsControlKind::Spin: {
                const int id = spec.id;
                widget = new SpinArrows(this, [this, id](bool up) {
                    if (id == layout_.dutySpin) {
                        onDutyStep(up);
                    } else {
                        onQualityStep(up);
                    }
                });
                break;
            }
        }
        const PixelRect r = toPixels(spec.rect);
        widget->setGeometry(r.x, r.y, r.width, r.height);
        if (spec.id != 0) {
            widget->setObjectName(QStringLiteral("c%1").arg(spec.id));
            controls_.insert(spec.id, widget);
        }
    }
}

QCheckBox* SettingsWindow::box(int id) const {
    return static_cast<QCheckBox*>(controls_.value(id));
}

QLineEdit* SettingsWindow::edit(int id) const {
    return static_cast<QLineEdit*>(controls_.value(id));
}

QPushButton* SettingsWindow::button(int id) const {
    return static_cast<QPushButton*>(controls_.value(id));
}

bool SettingsWindow::gpuRunning() const {
    return engine_.state().gpuPresent;
}

bool SettingsWindow::unitChanged() const {
    return engine_.settings()->fahrenheit != fahrenheitAtOpening_;
}

void SettingsWindow::enableApply() const {
    button(c::kApply)->setEnabled(true);
}

void SettingsWindow::message(const std::string& caption, const std::string& text,
                             MessageIcon icon) {
    if (links_.messages) {
        links_.messages(caption, text, icon);
        return;
    }
    showMessageBox(this, caption, text, icon);
}

void SettingsWindow::connectControls() {
    const auto onClick = [this](int id, auto slot) {
        if (auto* check = qobject_cast<QCheckBox*>(controls_.value(id)); check != nullptr) {
            connect(check, &QCheckBox::clicked, this, slot);
        } else {
            connect(button(id), &QPushButton::clicked, this, slot);
        }
    };
    for (std::size_t column = 0; column < layout_.cores.size(); ++column) {
        const int core = layout_.cores[column];
        connect(edit(layout_.calibration[column]), &QLineEdit::editingFinished, this,
                [this, column] { validateCalibration(column); });
        connect(edit(layout_.tjMax[column]), &QLineEdit::editingFinished, this,
                [this, column] { validateTjMax(column); });
        onClick(layout_.colour[column], [this, core] {
            onColour(pending_.values.iconTextColor[static_cast<std::size_t>(core)]);
        });
        onClick(layout_.showIcon[column], [this, core](bool on) { onShowIcon(core, on); });
    }
    connect(edit(c::kLogSeconds), &QLineEdit::editingFinished, this,
            [this] { validateLogSeconds(); });
    connect(edit(c::kCpuAlarm), &QLineEdit::editingFinished, this, [this] { validateAlarms(); });
    connect(edit(c::kGpuAlarm), &QLineEdit::editingFinished, this, [this] { validateAlarms(); });
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        connect(field, &QLineEdit::textEdited, this, [this] { enableApply(); });
    }

    Settings& v = pending_.values;
    const std::size_t gpuSlot = static_cast<std::size_t>(edition_.trayIconSlots - 1);
    onClick(c::kGpuColour, [this, gpuSlot] { onColour(pending_.values.iconTextColor[gpuSlot]); });
    onClick(c::kGpuIcon, [this, gpuSlot](bool on) { onShowIcon(static_cast<int>(gpuSlot), on); });
    onClick(c::kNormalFill, [this, &v] { onColour(v.guiColor); });
    onClick(c::kNormalText, [this, &v] { onColour(v.guiText); });
    onClick(c::kMiniFill, [this, &v] { onColour(v.guiMiniColor); });
    onClick(c::kMiniText, [this, &v] { onColour(v.guiMiniText); });
    onClick(c::kNormalHeading, [this, &v] { onHeading(v.guiNormHead, v.normHeading); });
    onClick(c::kMiniHeading, [this, &v] { onHeading(v.guiMiniHead, v.miniHeading); });

    // Pending boxes: the value waits for Apply.
    const struct {
        int id;
        bool Settings::*field;
    } pendingBoxes[] = {
        {c::kNormalWindow, &Settings::customGUI},
        {c::kMiniMode, &Settings::customGUIMini},
        {c::kTaskBar, &Settings::taskBar},
        {c::kStartMinimized, &Settings::startMinimized},
        {c::kAlwaysOnTop, &Settings::onTop},
        {c::kTrayInfo, &Settings::trayInfo},
        {c::kLogFile, &Settings::logFile},
        {c::kExcel, &Settings::csv},
        {c::kMinimizeOnClose, &Settings::minimizeOnClose},
        {c::kTmLoad, &Settings::tmLoad},
    };
    for (const auto& entry : pendingBoxes) {
        const auto field = entry.field;
        onClick(entry.id, [this, field](bool on) {
            pending_.values.*field = on;
            fillEnabling();
            enableApply();
        });
    }
    onClick(c::kSetTjMax, [this] { fillEnabling(); });
    onClick(c::kAlarm, [this](bool on) {
        Settings current = *engine_.settings();
        onAlarmSwitch(current, on, gpuRunning());
        engine_.settings().set(KeyId::Alarm, current.alarm);
        pending_.values.alarm = on;
        fillEnabling();
    });
    onClick(c::kThreeDigits, [this](bool on) {
        engine_.settings().set(KeyId::ThreeDigit, on);
        if (links_.redrawTray) {
            links_.redrawTray();
        }
    });
    onClick(layout_.fahrenheit, [this](bool on) {
        engine_.setFahrenheit(on);
        pending_.values.fahrenheit = on;
    });
    onClick(layout_.fonts, [this] { onFonts(); });
    onClick(c::kClockModulation, [this](bool on) {
        pending_.values.clockMod =
            (pending_.values.clockMod & kDutyField) | (on ? kModulationOn : 0);
        fillClockModulation();
        enableApply();
    });
    onClick(c::kC1e, [this](bool on) {
        box(c::kC1e)->setChecked(engine_.featureSwitches().setC1E(on));
        afterSwitch();
    });
    onClick(c::kEist, [this](bool on) {
        features_ = engine_.featureSwitches().setEist(on, features_);
        fillProcessorSwitches();
        afterSwitch();
    });
    onClick(c::kDisableTurbo, [this](bool on) {
        if (engine_.processor().platformInfoClass) {
            box(c::kDisableTurbo)->setChecked(engine_.featureSwitches().setTurboDisabled(on));
            afterSwitch();
        } else {
            pending_.values.vidInfo = on;
            enableApply();
        }
    });
    onClick(layout_.ati, [this](bool on) { onGpuBox(true, on); });
    onClick(layout_.nvidia, [this](bool on) { onGpuBox(false, on); });
    onClick(c::kAlarmProgram, [this] { onAlarmProgram(); });
    onClick(c::kRivaTuner, [this] { onRivaTuner(); });
    onClick(c::kApply, [this] { applySettings(); });
    onClick(c::kOk, [this] { ok(); });
    onClick(c::kCancel, [this] { reject(); });
    onClick(c::kDefaults, [this] { restoreDefaults(); });
}

void SettingsWindow::fill() {
    const Settings& v = pending_.values;
    const RunConfiguration& config = engine_.configuration();
    for (std::size_t column = 0; column < layout_.cores.size(); ++column) {
        const auto core = static_cast<std::size_t>(layout_.cores[column]);
        edit(layout_.calibration[column])->setText(qs(calibrationText(pending_.cores.idle[core])));
        edit(layout_.tjMax[column])->setText(QString::number(pending_.cores.tjMax[core]));
        box(layout_.showIcon[column])->setChecked(v.iconShow.shows(static_cast<int>(core)));
        const bool present = config.corePresent(static_cast<int>(core));
        edit(layout_.calibration[column])->setEnabled(present);
        box(layout_.showIcon[column])->setEnabled(present);
        button(layout_.colour[column])->setEnabled(present);
    }
    box(c::kGpuIcon)->setChecked(gpuRunning() && v.iconShow.shows(edition_.trayIconSlots - 1));
    const struct {
        int id;
        bool checked;
    } boxes[] = {
        {c::kStartMinimized, v.startMinimized},
        {c::kTaskBar, v.taskBar || pending_.taskBarForced},
        {c::kAlwaysOnTop, v.onTop},
        {c::kTrayInfo, v.trayInfo},
        {c::kLogFile, v.logFile},
        {c::kAlarm, v.alarm},
        {c::kExcel, v.csv},
        {c::kTmLoad, v.tmLoad},
        {c::kNormalWindow, v.customGUI},
        {c::kMiniMode, v.customGUIMini},
        {c::kMinimizeOnClose, v.minimizeOnClose},
        {c::kThreeDigits, v.threeDigit},
        {layout_.fahrenheit, v.fahrenheit},
        {layout_.ati, engine_.gpuSources().active().ati},
        {layout_.nvidia, engine_.gpuSources().active().nvidia},
    };
    for (const auto& entry : boxes) {
        box(entry.id)->setChecked(entry.checked);
    }
    edit(c::kLogSeconds)->setText(QString::number(v.logInterval));
    edit(c::kCpuAlarm)->setText(QString::number(v.alarm1));
    edit(c::kGpuAlarm)->setText(QString::number(v.alarm2));
    edit(c::kAlarmPath)->setText(qs(v.alarmFile));
    edit(c::kRivaPath)->setText(qs(v.rivaFile));
    button(layout_.fonts)->setText(qs(v.trayFont.lfFaceName));
    edit(layout_.quality)->setText(qs(qualityText(edition_, v.quality)));
    edit(c::kApicId)->setText(qs(engine_.apicIdText()));
    setOnTop(v.onTop);
    button(c::kApply)->setEnabled(false);
    fillProcessorSwitches();
    fillClockModulation();
    fillEnabling();
}

void SettingsWindow::fillProcessorSwitches() {
    box(c::kEist)->setChecked(features_.eist);
    box(c::kEist)->setEnabled(!features_.eistLocked);
    QCheckBox* turbo = box(c::kDisableTurbo);
    if (engine_.processor().platformInfoClass) {
        turbo->setChecked(features_.turboDisabled);
    } else if (!engine_.featureSwitches().available()) {
        turbo->setText(QStringLiteral("VID"));
    } else {
        turbo->setText(qs("VID  " + fixedText(features_.vid, 4)));
        turbo->setChecked(pending_.values.vidInfo);
    }
    box(c::kC1e)->setChecked(features_.c1e);
}

void SettingsWindow::fillClockModulation() {
    const std::uint32_t value = pending_.values.clockMod;
    const FeatureSwitches& switches = engine_.featureSwitches();
    // Without registers nothing modulates, whatever the setting kept for a full run says.
    box(c::kClockModulation)->setChecked(switches.available() && (value & kModulationOn) != 0);
    edit(c::kDuty)->setText(qs(dutyText(value)));
    const bool switchable = switches.available() && !switches.writeRefused();
    edit(c::kDuty)->setEnabled(switchable && (value & kModulationOn) != 0);
    controls_.value(layout_.dutySpin)->setEnabled(switchable && (value & kModulationOn) != 0);
}

void SettingsWindow::fillEnabling() {
    const Settings& v = pending_.values;
    const RunConfiguration& config = engine_.configuration();
    const bool setTjMax = box(c::kSetTjMax)->isChecked();
    for (std::size_t column = 0; column < layout_.cores.size(); ++column) {
        edit(layout_.tjMax[column])
            ->setEnabled(setTjMax && config.corePresent(layout_.cores[column]));
    }
    const bool gpu = gpuRunning();
    box(c::kGpuIcon)->setEnabled(gpu);
    button(c::kGpuColour)->setEnabled(gpu);
    const bool alarm = box(c::kAlarm)->isChecked();
    edit(c::kCpuAlarm)->setEnabled(alarm);
    edit(c::kAlarmPath)->setEnabled(alarm);
    edit(c::kGpuAlarm)->setEnabled(alarm && gpu);
    edit(c::kLogSeconds)->setEnabled(box(c::kLogFile)->isChecked());
    button(c::kNormalFill)->setEnabled(v.customGUI);
    button(c::kNormalText)->setEnabled(v.customGUI);
    button(c::kMiniFill)->setEnabled(v.customGUIMini);
    button(c::kMiniText)->setEnabled(v.customGUIMini);
    edit(c::kRivaPath)->setEnabled(!v.rivaFile.empty());
    box(c::kTaskBar)->setEnabled(!pending_.taskBarForced);
    if (pending_.taskBarForced) {
        box(c::kTaskBar)->setChecked(true);
    }
}

void SettingsWindow::place() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (links_.mainWindow.bottom == 0 || screen == nullptr) {
        return;
    }
    const QRect g = screen->geometry();
    const ScreenRect target = settingsWindowPlacement(
        links_.mainWindow, width(), height(), {g.left(), g.top(), g.right() + 1, g.bottom() + 1},
        links_.composition);
    move(target.left, target.top);
}

void SettingsWindow::setOnTop(bool onTop) {
    if (onTop == windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        return;
    }
    // Changing the flag hides a shown window.
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (shown) {
        show();
    }
}

void SettingsWindow::validateCalibration(std::size_t column) {
    QLineEdit* field = edit(layout_.calibration[column]);
    const int tenths = calibrationTenths(text(field));
    pending_.cores.idle[static_cast<std::size_t>(layout_.cores[column])] = tenths;
    field->setText(qs(calibrationText(tenths)));
}

void SettingsWindow::validateTjMax(std::size_t column) {
    QLineEdit* field = edit(layout_.tjMax[column]);
    const int tjMax = correctedTjMax(text(field));
    pending_.cores.tjMax[static_cast<std::size_t>(layout_.cores[column])] = tjMax;
    field->setText(QString::number(tjMax));
}

void SettingsWindow::validateLogSeconds() {
    const int seconds = correctedLogSeconds(number(edit(c::kLogSeconds)));
    edit(c::kLogSeconds)->setText(QString::number(seconds));
    pending_.values.logInterval = seconds;
    engine_.settings().set(KeyId::LogInterval, seconds);
    enableApply();
}

void SettingsWindow::validateAlarms() {
    Settings current = *engine_.settings();
    const auto typed = [this](int id) {
        const long long value = number(edit(id));
        return value > 100000 ? 100000 : static_cast<int>(value);
    };
    pending_.values.alarm1 = onCoreThresholdEdited(current, typed(c::kCpuAlarm));
    pending_.values.alarm2 = onGpuThresholdEdited(current, typed(c::kGpuAlarm));
    engine_.settings().set(KeyId::Alarm1, current.alarm1);
    engine_.settings().set(KeyId::Alarm2, current.alarm2);
    edit(c::kCpuAlarm)->setText(QString::number(current.alarm1));
    edit(c::kGpuAlarm)->setText(QString::number(current.alarm2));
}

void SettingsWindow::validateAll() {
    for (std::size_t column = 0; column < layout_.cores.size(); ++column) {
        if (edit(layout_.calibration[column])->isEnabled()) {
            validateCalibration(column);
        }
        if (edit(layout_.tjMax[column])->isEnabled()) {
            validateTjMax(column);
        }
    }
}

void SettingsWindow::applySettings() {
    validateAll();
    const std::uint32_t shown = engine_.applySettings(pending_);
    pending_.values.clockMod = (shown & kModulationOn) | dutyAtOpening(shown);
    fillClockModulation();
    if (engine_.featureSwitches().writeRefused()) {
        afterSwitch();
    }
    const bool onTop = pending_.values.onTop;
    setOnTop(onTop);
    if (links_.redrawTray) {
        links_.redrawTray();
    }
    if (links_.appearanceChanged) {
        links_.appearanceChanged();
    }
    button(c::kApply)->setEnabled(false);
    button(c::kOk)->setFocus();
}

void SettingsWindow::ok() {
    applySettings();
    // The settings stay in effect either way; the person learns that the file kept the old ones.
    if (const ReplaceResult saved = engine_.saveSettings(); !saved) {
        std::string text = saveProblemText(engine_.settingsFile(), saved);
        text[0] = 'T';
        message(std::string(edition_.programName), text, MessageIcon::Warning);
    }
    accept();
}

void SettingsWindow::reject() {
    engine_.cancelSettings(pending_, features_.clockModulation);
    if (links_.redrawTray) {
        links_.redrawTray();
    }
    QDialog::reject();
}

void SettingsWindow::restoreDefaults() {
    pending_.restoreDefaults(edition_, gpuRunning(), engine_.processor().platformInfoClass);
    const std::uint32_t shown = engine_.applyClockModulation(pending_.values.clockMod);
    pending_.values.clockMod = (shown & kModulationOn) | dutyAtOpening(shown);
    const Settings& v = pending_.values;
    for (std::size_t column = 0; column < layout_.cores.size(); ++column) {
        const auto core = static_cast<std::size_t>(layout_.cores[column]);
        if (pending_.slotPresent[core]) {
            edit(layout_.calibration[column])->setText(qs(calibrationText(0)));
            edit(layout_.tjMax[column])->setText(QString::number(pending_.cores.tjMax[core]));
        }
    }
    for (const int id : {c::kLogFile, c::kTrayInfo, c::kStartMinimized, c::kTaskBar, c::kTmLoad,
                         c::kMinimizeOnClose, c::kAlarm, c::kAlwaysOnTop, c::kExcel,
                         c::kNormalWindow, c::kMiniMode}) {
        box(id)->setChecked(false);
    }
    if (!engine_.processor().platformInfoClass) {
        box(c::kDisableTurbo)->setChecked(false);
    }
    edit(c::kCpuAlarm)->setText(QString::number(v.alarm1));
    edit(c::kGpuAlarm)->setText(QString::number(v.alarm2));
    edit(c::kAlarmPath)->clear();
    edit(c::kLogSeconds)->setText(QString::number(v.logInterval));
    fillClockModulation();
    fillEnabling();
    setOnTop(false);
    enableApply();
    afterSwitch();
}

void SettingsWindow::onShowIcon(int slot, bool on) {
    if (links_.setIconShown) {
        links_.setIconShown(slot, on);
    } else {
        engine_.settings().setIconShow(engine_.settings()->iconShow.withSlot(slot, on));
    }
    const IconShow shown = engine_.settings()->iconShow;
    pending_.values.iconShow = shown;
    for (std::size_t column = 0; column < layout_.cores.size(); ++column) {
        box(layout_.showIcon[column])->setChecked(shown.shows(layout_.cores[column]));
    }
    box(c::kGpuIcon)->setChecked(gpuRunning() && shown.shows(edition_.trayIconSlots - 1));
    pending_.taskBarForced = !shown.anyIcon(edition_);
    if (pending_.taskBarForced) {
        engine_.settings().set(KeyId::TaskBar, 1);
    }
    fillEnabling();
}

void SettingsWindow::onFonts() {
    const TrayFontKeys current = engine_.settings()->trayFont;
    std::optional<TrayFontKeys> chosen;
    if (links_.chooseFont) {
        chosen = links_.chooseFont(current);
    } else {
        bool accepted = false;
        // The same reading of the keys as the tray's: a positive height is a whole cell, 0 the
        // face's own size and weight.
        const QFont start = trayFont(current, 1);
        const QFont font = QFontDialog::getFont(&accepted, start, this);
        if (accepted) {
            TrayFontKeys keys = current;
            keys.lfFaceName = font.family().toStdString();
            // The keys hold a character height in pixels, negative as the font chooser gives it.
            keys.lfHeight = -QFontInfo(font).pixelSize();
            keys.lfWeight = font.weight();
            keys.lfItalic = font.italic() ? 1 : 0;
            chosen = keys;
        }
    }
    if (!chosen) {
        return;
    }
    LiveSettings& live = engine_.settings();
    live.set(KeyId::LfHeight, chosen->lfHeight);
    live.set(KeyId::LfWidth, chosen->lfWidth);
    live.set(KeyId::LfWeight, chosen->lfWeight);
    live.set(KeyId::LfItalic, chosen->lfItalic);
    live.set(KeyId::LfCharSet, chosen->lfCharSet);
    live.set(KeyId::LfPitchAndFamily, chosen->lfPitchAndFamily);
    live.set(KeyId::LfFaceName, chosen->lfFaceName);
    pending_.values.trayFont = live->trayFont;
    button(layout_.fonts)->setText(qs(live->trayFont.lfFaceName));
    if (links_.redrawTray) {
        links_.redrawTray();
    }
    if (links_.appearanceChanged) {
        links_.appearanceChanged();
    }
    if (!engine_.settingsFile().empty()) {
        // Saved at once, unlike the rest of the window; a failure is told as OK tells its own.
        if (const ReplaceResult saved = saveFont(engine_.settingsFile(), live->trayFont); !saved) {
            std::string text = saveProblemText(engine_.settingsFile(), saved);
            text[0] = 'T';
            message(std::string(edition_.programName), text, MessageIcon::Warning);
        }
    }
}

void SettingsWindow::onQualityStep(bool up) {
    const int quality = steppedQuality(engine_.settings()->quality, up);
    engine_.settings().set(KeyId::Quality, quality);
    pending_.values.quality = quality;
    edit(layout_.quality)->setText(qs(qualityText(edition_, quality)));
    if (links_.redrawTray) {
        links_.redrawTray();
    }
}

void SettingsWindow::onDutyStep(bool up) {
    pending_.values.clockMod = steppedDuty(pending_.values.clockMod, up);
    fillClockModulation();
    enableApply();
}

void SettingsWindow::onGpuBox(bool ati, bool checked) {
    const GpuBoxOutcome outcome = ati ? engine_.setAtiBox(checked) : engine_.setNvidiaBox(checked);
    QCheckBox* gpuBox = box(ati ? layout_.ati : layout_.nvidia);
    switch (outcome) {
        case GpuBoxOutcome::Running:
            gpuBox->setChecked(true);
            break;
        case GpuBoxOutcome::Failed:
            gpuBox->setChecked(false);
            gpuBox->setEnabled(false);
            break;
        case GpuBoxOutcome::RestartToDisable:
            gpuBox->setChecked(false);
            message(std::string(edition_.programName), std::string(kRestartToDisableGpu),
                    MessageIcon::None);
            break;
    }
    fillEnabling();
}

std::optional<std::string> SettingsWindow::chooseFile(const FileChoice& choice) {
    if (links_.chooseFile) {
        return links_.chooseFile(choice);
    }
    const std::filesystem::path start = std::filesystem::path(choice.startFolder) / choice.fileName;
    const QString path =
        QFileDialog::getOpenFileName(this, qs(choice.title), qs(start.string()), qs(choice.filter));
    return path.isEmpty() ? std::nullopt : std::optional<std::string>(path.toStdString());
}

void SettingsWindow::onAlarmProgram() {
    const AlarmProgramChooser chooser = alarmProgramChooser();
    std::string filter;
    for (const FileFilter& f : chooser.filters) {
        filter += (filter.empty() ? "" : ";;") + f.name + " (" + f.pattern + ")";
    }
    const FileChoice choice{
        .title = chooser.title, .filter = filter, .startFolder = {}, .fileName = {}};
    const AlarmProgramChoice result = onChooseAlarmProgram(edition_, chooseFile(choice));
    if (!result.refusal.empty()) {
        message(std::string(edition_.programName), result.refusal, MessageIcon::Error);
    }
    pending_.values.alarmFile = result.path;
    edit(c::kAlarmPath)->setText(qs(result.path));
    enableApply();
}

void SettingsWindow::onRivaTuner() {
    const RivaTunerChooser chooser = rivaTunerChooser(pending_.values.rivaFile, links_.home);
    const FileChoice choice{.title = chooser.title,
                            .filter = chooser.filter,
                            .startFolder = chooser.startFolder.string(),
                            .fileName = chooser.fileName};
    const PluginInstall result = installPlugin(chooseFile(choice), {engine_.pluginFolders()},
                                               pending_.cores, pending_.slotPresent);
    if (result.message) {
        const MessageIcon icon =
            result.message->icon == PluginMessageIcon::Error     ? MessageIcon::Error
            : result.message->icon == PluginMessageIcon::Warning ? MessageIcon::Warning
                                                                 : MessageIcon::Information;
        message(result.message->caption, result.message->text, icon);
    }
    pending_.values.rivaFile = result.rivaFile;
    edit(c::kRivaPath)->setText(qs(result.rivaFile));
    fillEnabling();
    enableApply();
}

std::optional<ColourRef> SettingsWindow::chooseColour(ColourRef colour) {
    if (links_.chooseColour) {
        return links_.chooseColour(colour);
    }
    const QColor picked = QColorDialog::getColor(toQColor(colour), this);
    return picked.isValid() ? std::optional<ColourRef>(toColourRef(picked)) : std::nullopt;
}

void SettingsWindow::onColour(ColourRef& colour) {
    if (const std::optional<ColourRef> chosen = chooseColour(colour)) {
        colour = *chosen;
        enableApply();
    }
}

// A heading colour chosen switches the heading colour on; a chooser cancelled switches it off.
void SettingsWindow::onHeading(ColourRef& colour, bool& heading) {
    const std::optional<ColourRef> chosen = chooseColour(colour);
    heading = chosen.has_value();
    if (chosen) {
        colour = *chosen;
    }
    enableApply();
}

void SettingsWindow::disableSwitches(const QString& why, bool withTurboBox) {
    for (const int id : {c::kC1e, c::kEist, c::kDisableTurbo, c::kClockModulation}) {
        if (id == c::kDisableTurbo && !withTurboBox) {
            continue;
        }
        box(id)->setEnabled(false);
        box(id)->setToolTip(why);
    }
    fillClockModulation();
}

void SettingsWindow::afterSwitch() {
    FeatureSwitches& switches = engine_.featureSwitches();
    if (!switches.available()) {
        // Without registers the VID display has nothing to show either.
        disableSwitches(qs(std::string(kReadOnlySource) + std::string(kNoRegisters)), true);
        return;
    }
    if (!switches.writeRefused()) {
        return;
    }
    disableSwitches(qs(kRefusedWrites), engine_.processor().platformInfoClass);
    if (switches.takeRefusalNotice()) {
        // The driver's own words when it knows why, so that the person reads it once.
        const std::string notice = engine_.takeDriverNotice();
        message(std::string(edition_.programName),
                notice.empty() ? std::string(kRefusedWrites) : notice, MessageIcon::Warning);
    }
}

void SettingsWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    // Enter closes only from OK; in an edit it has already run that edit's validation.
    QWidget* focus = focusWidget();
    if (focus == button(c::kOk)) {
        ok();
    } else if (auto* push = qobject_cast<QPushButton*>(focus); push != nullptr) {
        push->click();
    }
    event->accept();
}

}  // namespace calidus
