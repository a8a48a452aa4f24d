#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "common/Edition.h"
#include "config/LiveSettings.h"
#include "cpu/RunConfiguration.h"
#include "measure/MonitorState.h"
#include "view/DisplayTexts.h"
#include "view/TrayHost.h"

namespace calidus {

// The tray icons of one run: one slot per monitored core number and one for the GPU, shown as
// IconShow says, each drawing its number into its icon.
class TrayIcons {
  public:
    using Sleep = std::function<void(std::chrono::milliseconds)>;

    // IconShow, TaskBar and every tray key come from `settings`, which the icons change too.
    TrayIcons(const Edition& edition, TrayHost& host, const MonitorState& state,
              const RunConfiguration& config, const DisplayTexts& texts, LiveSettings& settings,
              Sleep sleep);

    // First tick. Answers the IconShow mask left after the adds.
    IconShow addTrayIcons();
    // Every tick, after the alarm actions. Only an icon whose picture or tooltip changed goes to
    // the host: a tray that restarts gets its icons back from the toolkit, not from here.
    void updateTrayIcons();
    // A "Show Icon" box. Answers true when no icon is left, so the Task Bar box is forced.
    bool setIconShown(int slot, bool on);
    void redrawTrayIcons();
    // Exit: every icon of the mask.
    void removeTrayIcons(IconShow mask);
    // A size event: the tray may have been recreated without our icons. Forces TaskBar when the
    // first shown icon is gone.
    bool firstIconAlive();
    // The icons are drawn again at the next tick (font, colour or icon changes).
    void requestFullRedraw();

    int slotCount() const { return edition_.trayIconSlots; }
    int gpuSlot() const { return edition_.trayIconSlots - 1; }
    // A slot whose core is monitored and present, or the GPU slot while a GPU source runs.
    bool usable(int slot) const;

  private:
    IconShow iconShow() const { return settings_->iconShow; }
    void setShown(int slot, bool on) { settings_.setIconShow(iconShow().withSlot(slot, on)); }
    bool shown(int slot) const { return iconShow().shows(slot); }
    int firstShownSlot() const { return iconShow().firstIcon(edition_); }
    std::uint32_t usableSlots() const;
    bool addWithRetry(int slot);
    void removeAllThenAdd(IconShow wanted);
    bool forceTaskBarWhenNoIcon();
    std::string tooltipFor(int slot) const;
    TrayIconImage imageFor(int slot) const;
    int valueFor(int slot) const;
    bool blinking(int slot) const;

    const Edition& edition_;
    TrayHost& host_;
    const MonitorState& state_;
    const RunConfiguration& config_;
    const DisplayTexts& texts_;
    LiveSettings& settings_;
    Sleep sleep_;
    // What the host was last given for each slot.
    std::vector<TrayEntry> entries_;
    bool redrawAll_ = true;
};

}  // namespace calidus
