#pragma once

#include <bit>
#include <cstdint>

#include "common/Edition.h"

namespace calidus {

// "IconShow": which tray icons are shown, one bit per slot (core slots first, the edition's last
// slot is the GPU icon), and which value they show (bits 9 to 12).
class IconShow {
  public:
    static constexpr std::uint32_t kMinimum = 1u << 9;
    static constexpr std::uint32_t kMaximum = 1u << 10;
    static constexpr std::uint32_t kAverage = 1u << 11;
    static constexpr std::uint32_t kDistance = 1u << 12;  // distance to TjMax, not temperature

    enum class Value { Current, Minimum, Maximum, Average };

    constexpr IconShow() = default;
    constexpr explicit IconShow(std::uint32_t bits) : bits_(bits) {}

    constexpr std::uint32_t bits() const { return bits_; }

    static constexpr std::uint32_t iconMask(const Edition& edition) {
        return (1u << edition.trayIconSlots) - 1;
    }
    static constexpr int gpuSlot(const Edition& edition) { return edition.trayIconSlots - 1; }

    constexpr bool shows(int slot) const { return (bits_ & slotBit(slot)) != 0; }
    constexpr IconShow withSlot(int slot, bool on) const {
        return IconShow(on ? bits_ | slotBit(slot) : bits_ & ~slotBit(slot));
    }
    constexpr IconShow withoutGpu(const Edition& edition) const {
        return withSlot(gpuSlot(edition), false);
    }
    // Clears the icon bits of the slots missing from `present` (a mask of slots); the value bits
    // and the bits above this edition's slots stay.
    constexpr IconShow withoutAbsent(const Edition& edition, std::uint32_t present) const {
        return IconShow(bits_ & ~(iconMask(edition) & ~present));
    }
    // These value bits with the icon bits of `shown`.
    constexpr IconShow withIcons(const Edition& edition, IconShow shown) const {
        return IconShow((bits_ & ~iconMask(edition)) | shown.icons(edition).bits_);
    }
    // The icon bits alone.
    constexpr IconShow icons(const Edition& edition) const {
        return IconShow(bits_ & iconMask(edition));
    }
    constexpr bool anyIcon(const Edition& edition) const { return icons(edition).bits_ != 0; }
    // The lowest shown slot, or -1.
    constexpr int firstIcon(const Edition& edition) const {
        return anyIcon(edition) ? std::countr_zero(icons(edition).bits_) : -1;
    }

    // Whether the kind's bit is set; Current: no kind's bit is.
    constexpr bool has(Value kind) const {
        return kind == Value::Current ? (bits_ & kKinds) == 0 : (bits_ & kindBit(kind)) != 0;
    }
    // The kind the icons show: with several set, average beats maximum beats minimum.
    constexpr Value value() const {
        for (const Value kind : {Value::Average, Value::Maximum, Value::Minimum}) {
            if (has(kind)) {
                return kind;
            }
        }
        return Value::Current;
    }
    constexpr IconShow showing(Value kind) const {
        return IconShow((bits_ & ~kKinds) | (kind == Value::Current ? 0 : kindBit(kind)));
    }
    constexpr bool distance() const { return (bits_ & kDistance) != 0; }
    constexpr IconShow withDistance(bool on) const {
        return IconShow(on ? bits_ | kDistance : bits_ & ~kDistance);
    }

    constexpr bool operator==(const IconShow&) const = default;

  private:
    static constexpr std::uint32_t kKinds = kMinimum | kMaximum | kAverage;

    static constexpr std::uint32_t slotBit(int slot) { return 1u << slot; }
    // Minimum, Maximum and Average are bits 9, 10 and 11.
    static constexpr std::uint32_t kindBit(Value kind) {
        return kMinimum << (static_cast<int>(kind) - 1);
    }

    std::uint32_t bits_ = 1;
};

}  // namespace calidus
