#include "view/TrayIcons.h"

#include <string>
#include <utility>

namespace calidus {

TrayIcons::TrayIcons(const Edition& edition, TrayHost& host, const MonitorState& state,
                     const RunConfiguration& config, const DisplayTexts& texts,
                     LiveSettings& settings, Sleep sleep)
    : edition_(edition),
      host_(host),
      state_(state),
      config_(config),
      texts_(texts),
      settings_(settings),
      sleep_(std::move(sleep)),
      entries_(edition.trayIconSlots) {}

bool TrayIcons::usable(int slot) const {
    if (slot == gpuSlot()) {
        return state_.gpuPresent;
    }
    return edition_.monitors(slot) && config_.corePresent(slot);
}

std::uint32_t TrayIcons::usableSlots() const {
    std::uint32_t slots = 0;
    for (int slot = gpuSlot(); slot >= 0; --slot) {
        slots |= usable(slot) ? 1u << slot : 0;
    }
    return slots;
}

IconShow TrayIcons::addTrayIcons() {
    // Cleared before the adds: a GPU icon added now would stay in the tray without its bit, never
    // drawn, never removed, and in the way when a GPU source starts later.
    if (!state_.gpuPresent) {
        settings_.setIconShow(iconShow().withoutGpu(edition_));
    }
    if (edition_.trayDropsMissingAtFirstAdd) {
        settings_.setIconShow(iconShow().withoutAbsent(edition_, usableSlots()));
    }
    for (int slot = gpuSlot(); slot >= 0; --slot) {
        if (!shown(slot)) {
            continue;
        }
        entries_[slot] = TrayEntry{};
        if (!addWithRetry(slot)) {
            setShown(slot, false);
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
    for (int slot = gpuSlot(); slot >= 0; --slot) {
        if (!usable(slot) || !shown(slot)) {
            continue;
        }
        TrayEntry& entry = entries_[slot];
        const TrayIconImage image = imageFor(slot);
        std::string tooltip = tooltipFor(slot);
        if (!redrawAll_ && image == entry.image && tooltip == entry.tooltip) {
            continue;
        }
        entry.image = image;
        entry.tooltip = std::move(tooltip);
        host_.modify(slot, entry);
    }
    redrawAll_ = false;
}

TrayIconImage TrayIcons::imageFor(int slot) const {
    if (blinking(slot)) {
        return TrayIconImage{};
    }
    return TrayIconImage{.programIcon = false,
                         .value = valueFor(slot),
                         .threeDigit = settings_->threeDigit,
                         .colour = settings_->iconTextColor[slot]};
}

std::string TrayIcons::tooltipFor(int slot) const {
    if (slot == gpuSlot()) {
        const std::string& unit = texts_.unit;
        return std::string(edition_.gpuTrayTitle) +
               "\nMin = " + std::to_string(state_.gpu.minTemperature) + unit +
               "\nMax = " + std::to_string(state_.gpu.maxTemperature) + unit;
    }
    if (slot == firstShownSlot() || settings_->trayInfo) {
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
    } else if (iconShow().distance()) {
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
    switch (iconShow().value()) {
        case IconShow::Value::Average:
            return averageOf(sum, state_.tickCount);
        case IconShow::Value::Maximum:
            return maximum;
        case IconShow::Value::Minimum:
            return minimum;
        case IconShow::Value::Current:
            break;
    }
    return current;
}

bool TrayIcons::blinking(int slot) const {
    if (!state_.alarmThisTick || state_.tickCount % 2 == 0) {
        return false;
    }
    if (slot == gpuSlot()) {
        return state_.gpu.temperature >= settings_->alarm2;
    }
    return state_.cores[slot].temperature >= settings_->alarm1;
}

bool TrayIcons::setIconShown(int slot, bool on) {
    if (on) {
        // Everything goes and comes back, so the icons keep their order in the tray.
        removeAllThenAdd(iconShow().icons(edition_).withSlot(slot, true));
    } else {
        host_.remove(slot);
        setShown(slot, false);
    }
    const bool forced = forceTaskBarWhenNoIcon();
    requestFullRedraw();
    return forced;
}

void TrayIcons::redrawTrayIcons() {
    removeAllThenAdd(iconShow().icons(edition_));
    forceTaskBarWhenNoIcon();
    requestFullRedraw();
}

void TrayIcons::removeAllThenAdd(IconShow wanted) {
    for (int slot = gpuSlot(); slot >= 0; --slot) {
        if (shown(slot) && host_.remove(slot)) {
            setShown(slot, false);
        }
    }
    for (int slot = gpuSlot(); slot >= 0; --slot) {
        if (wanted.shows(slot) && usable(slot) && host_.add(slot, entries_[slot])) {
            setShown(slot, true);
        }
    }
}

bool TrayIcons::forceTaskBarWhenNoIcon() {
    // Without an icon the window must keep a task-bar button, or nothing could bring it back.
    if (iconShow().anyIcon(edition_)) {
        return false;
    }
    settings_.set(KeyId::TaskBar, true);
    return true;
}

void TrayIcons::removeTrayIcons(IconShow mask) {
    for (int slot = gpuSlot(); slot >= 0; --slot) {
        if (!mask.shows(slot)) {
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
        settings_.set(KeyId::TaskBar, true);
        return false;
    }
    return true;
}

void TrayIcons::requestFullRedraw() {
    redrawAll_ = true;
}

}  // namespace calidus
