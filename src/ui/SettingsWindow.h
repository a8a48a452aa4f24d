#pragma once

#include <QDialog>
#include <QMap>
#include <functional>
#include <optional>
#include <string>

#include "app/WindowPort.h"
#include "config/Settings.h"
#include "measure/FeatureSwitches.h"
#include "view/ScreenRect.h"
#include "view/SettingsPending.h"
#include "view/SettingsWindowLayout.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace calidus {

class Engine;

struct FileChoice {
    std::string title;
    std::string filter;  // Qt's "name (patterns);;name (patterns)"
    std::string startFolder;
    std::string fileName;
};

// What the Settings window reaches outside the engine; an empty chooser or sink means Qt's own.
struct SettingsWindowLinks {
    std::function<void(int slot, bool on)> setIconShown;  // the tray's rule for a "Show Icon" box
    std::function<void()> redrawTray;
    std::function<void()> appearanceChanged;  // the main window repaints its colours and headings
    std::function<void(const std::string& caption, const std::string& text, MessageIcon icon)>
        messages;
    std::function<std::optional<std::string>(const FileChoice&)> chooseFile;
    std::function<std::optional<ColourRef>(ColourRef)> chooseColour;
    std::function<std::optional<TrayFontKeys>(const TrayFontKeys&)> chooseFont;
    ScreenRect mainWindow;  // for the placement beside it
    bool composition = false;
    std::filesystem::path home;  // where the RivaTuner chooser starts without a path
};

// The modal Settings dialog over the engine's run; the monitoring goes on under it. Only OK
// writes the settings file.
class SettingsWindow : public QDialog {
    Q_OBJECT

  public:
    SettingsWindow(Engine& engine, SettingsWindowLinks links, QWidget* parent = nullptr);

    QWidget* control(int id) const { return controls_.value(id); }
    // The display unit differs from the one at opening.
    bool unitChanged() const;

    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildControls();
    void connectControls();
    void fill();
    void fillProcessorSwitches();
    void fillClockModulation();
    void fillEnabling();
    void place();
    void setOnTop(bool onTop);

    void validateCalibration(std::size_t column);
    void validateTjMax(std::size_t column);
    void validateLogSeconds();
    void validateAlarms();
    void validateAll();

    void applySettings();
    void ok();
    void restoreDefaults();

    void onShowIcon(int slot, bool on);
    void onFonts();
    void onQualityStep(bool up);
    void onDutyStep(bool up);
    void onGpuBox(bool ati, bool checked);
    std::optional<std::string> chooseFile(const FileChoice& choice);
    void onAlarmProgram();
    void onRivaTuner();
    std::optional<ColourRef> chooseColour(ColourRef colour);
    void onColour(ColourRef& colour);
    void onHeading(ColourRef& colour, bool& heading);
    void afterSwitch();
    void disableSwitches(const QString& why, bool withTurboBox);
    void enableApply() const;
    void message(const std::string& caption, const std::string& text, MessageIcon icon);

    QCheckBox* box(int id) const;
    QLineEdit* edit(int id) const;
    QPushButton* button(int id) const;
    bool gpuRunning() const;

    Engine& engine_;
    SettingsWindowLinks links_;
    const Edition& edition_;
    const SettingsWindowLayout& layout_;
    FeatureState features_;  // before pending_, which the opening fills with it
    SettingsPending pending_;
    bool fahrenheitAtOpening_ = false;
    QMap<int, QWidget*> controls_;
};

}  // namespace calidus
