#include "view/TrayIcons.h"

#include <algorithm>
#include <bit>
#include <string>
#include <utility>

namespace calidus {

TrayIcons::TrayIcons(const Edition& edition, TrayHost& host, const MonitorState& state,
                     const RunConfiguration& config, const DisplayTexts& texts, Settings& settings,
                     Sleep sleep)
    : edition_(edition),
      host_(host),
      state_(state),
      config_(config),
      texts_(texts),
      settings_(settings),
      sleep_(std::move(sleep)),
      entries_(edition.trayIconSlots),
      lastDrawn_(edition.trayIconSlots, kRedrawAll) {}

bool TrayIcons::usable(int slot) const {
    if (slot == gpuSlot()) {
        return state_.gpuPresent;
    }
    return edition_.monitors(slot) && config_.corePresent(slot);
}

int TrayIcons::firstShownSlot() const {
    if (iconShow() == 0) {
        return -1;
    }
    const int lowest = std::countr_zero(iconShow());
    return lowest < slotCount() ? lowest : -1;
}

std::uint32_t TrayIcons::addTrayIcons() {
    // Cleared before the adds: a GPU icon added now would stay in the tray without its bit, never
    // drawn, never removed, and in the way when a GPU source starts later.
    if (!state_.gpuPresent) {
        setIconShow(iconShow() & ~slotBit(gpuSlot()));
    }
    for (int slot = gpuSlot(); slot >= 0; --slot) {
        if (!shown(slot)) {
            continue;
        }
        if (edition_.trayDropsMissingAtFirstAdd && !usable(slot)) {
            setIconShow(iconShow() & ~slotBit(slot));
            continue;
        }
        entries_[slot] = TrayEntry{};
        if (!addWithRetry(slot)) {
            setIconShow(iconShow() & ~slotBit(slot));
        }
    }
    forceTaskBarWhenNoIcon();
    return iconShow();
}

bool TrayIcons::addWithRetry(int slot) {
    if (host_.add(slot, entries_[slot])) {
        return true;
    }
    sleep_(std::chrono::milliseconds(edition_.trayAddRetryMs));
    return host_.add(slot, entries_[slot]);
}

void TrayIcons::updateTrayIcons() {
    const int first = firstShownSlot();
    for (int slot = gpuSlot(); slot >= 0; --slot) {
        if (!usable(slot) || !shown(slot)) {
            continue;
        }
        TrayEntry& entry = entries_[slot];
        // Brings back icons lost when the desktop's tray restarted.
        if (state_.tickCount % 6 == 0 && !host_.modify(slot, entry)) {
            host_.add(slot, entry);
        }
        entry.tooltip = tooltipFor(slot);
        const int value = valueFor(slot);
        // The summary tooltip must stay current even when the number does not change.
        const bool refreshAnyway = slot == first || settings_.trayInfo || settings_.alarm;
        if (value == lastDrawn_[slot] && !refreshAnyway) {
            continue;
        }
        lastDrawn_[slot] = value;
        if (blinking(slot)) {
            lastDrawn_[slot] = 0;
            entry.image = TrayIconImage{};
        } else {
            entry.image = TrayIconImage{.programIcon = false,
                                        .value = value,
                                        .threeDigit = settings_.threeDigit,
                                        .colour = settings_.iconTextColor[slot]};
        }
        host_.modify(slot, entry);
    }
}

std::string TrayIcons::tooltipFor(int slot) const {
    if (slot == gpuSlot()) {
        const std::string& unit = texts_.unit;
        return std::string(edition_.gpuTrayTitle) +
               "\nMin = " + std::to_string(state_.gpu.minTemperature) + unit +
               "\nMax = " + std::to_string(state_.gpu.maxTemperature) + unit;
    }
    if (slot == firstShownSlot() || settings_.trayInfo) {
        return texts_.tooltip;
    }
    return "Core " + std::to_string(slot);
}

int TrayIcons::valueFor(int slot) const {
    int current = 0;
    int minimum = 0;
    int maximum = 0;
    std::int64_t sum = 0;
    if (slot == gpuSlot()) {
        const GpuSample& gpu = state_.gpu;
        current = gpu.temperature;
        minimum = gpu.minTemperature;
        maximum = gpu.maxTemperature;
        sum = gpu.temperatureSum;
    } else if ((iconShow() & kIconShowDistance) != 0) {
        const CoreSample& core = state_.cores[slot];
        current = core.reading;
        minimum = core.minReading;
        maximum = core.maxReading;
        sum = core.readingSum;
    } else {
        const CoreSample& core = state_.cores[slot];
        current = core.temperature;
        minimum = core.minTemperature;
        maximum = core.maxTemperature;
        sum = core.temperatureSum;
    }
    // With several kinds set, average beats maximum beats minimum.
    if ((iconShow() & kIconShowAverage) != 0) {
        return averageOf(sum, state_.tickCount);
    }
    if ((iconShow() & kIconShowMaximum) != 0) {
        return maximum;
    }
    if ((iconShow() & kIconShowMinimum) != 0) {
        return minimum;
    }
    return current;
}

bool TrayIcons::blinking(int slot) const {
    if (!state_.alarmThisTick || state_.tickCount % 2 == 0) {
        return false;
    }
    if (slot == gpuSlot()) {
        return state_.gpu.temperature >= settings_.alarm2;
    }
    return state_.cores[slot].temperature >= settings_.alarm1;
}

bool TrayIcons::setIconShown(int slot, bool on) {
    if (on) {
        // Everything goes and comes back, so the icons keep their order in the tray.
        removeAllThenAdd((iconShow() & iconBits()) | slotBit(slot));
    } else {
        host_.remove(slot);
        setIconShow(iconShow() & ~slotBit(slot));
    }
    const bool forced = forceTaskBarWhenNoIcon();
    requestFullRedraw();
    return forced;
}

void TrayIcons::redrawTrayIcons() {
    removeAllThenAdd(iconShow() & iconBits());
    forceTaskBarWhenNoIcon();
    requestFullRedraw();
}

void TrayIcons::removeAllThenAdd(std::uint32_t wanted) {
    for (int slot = gpuSlot(); slot >= 0; --slot) {
        if (shown(slot) && host_.remove(slot)) {
            setIconShow(iconShow() & ~slotBit(slot));
        }
    }
    for (int slot = gpuSlot(); slot >= 0; --slot) {
        if ((wanted & slotBit(slot)) != 0 && usable(slot) && host_.add(slot, entries_[slot])) {
            setIconShow(iconShow() | slotBit(slot));
        }
    }
}

bool TrayIcons::forceTaskBarWhenNoIcon() {
    // Without an icon the window must keep a task-bar button, or nothing could bring it back.
    if ((iconShow() & iconBits()) != 0) {
        return false;
    }
    settings_.taskBar = true;
    return true;
}

void TrayIcons::removeTrayIcons(std::uint32_t mask) {
    for (int slot = gpuSlot(); slot >= 0; --slot) {
        if ((mask & slotBit(slot)) == 0) {
            continue;
        }
        for (int attempt = 0; attempt < edition_.trayRemoveAttempts; ++attempt) {
            if (host_.remove(slot)) {
                break;
            }
        }
    }
}

bool TrayIcons::firstIconAlive() {
    const int first = firstShownSlot();
    if (first < 0 || !host_.modify(first, entries_[first])) {
        settings_.taskBar = true;
        return false;
    }
    return true;
}

void TrayIcons::requestFullRedraw() {
    std::fill(lastDrawn_.begin(), lastDrawn_.end(), kRedrawAll);
}

}  // namespace calidus
