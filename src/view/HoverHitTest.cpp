#include "view/HoverHitTest.h"

#include <array>
#include <cstdio>

namespace calidus {

namespace {

std::optional<ExtremeRow> rowAt(int y) {
    if (y >= 182 && y <= 231) {
        return ExtremeRow::Minimum;
    }
    if (y >= 247 && y <= 296) {
        return ExtremeRow::Maximum;
    }
    return std::nullopt;
}

// Left and right pixel of each six-column field (37 dialog units at 8 + 44 n).
constexpr std::array<std::array<int, 2>, 6> kSixColumnSpans{
    {{12, 68}, {78, 134}, {144, 200}, {210, 266}, {276, 332}, {342, 398}}};

}  // namespace

std::optional<HoverHit> hoverHitFourColumns(int x, int y, int clientWidth) {
    const std::optional<ExtremeRow> row = rowAt(y);
    if (!row) {
        return std::nullopt;
    }
    const int w = clientWidth;
    const int c = w / 2;
    const int e = (c + 4) / 2;
    int column = -1;
    if (x > c + 2 && x < w - 7) {
        column = 2;
    }
    if (x > (w + c - 4) / 2 && x < w - 7) {
        column = 3;
    }
    if (x > 6 && x < e - 2) {
        column = 0;
    }
    if (x > e + 2 && x < c - 2) {
        column = 1;
    }
    if (column < 0) {
        return std::nullopt;
    }
    return HoverHit{column, *row};
}

std::optional<HoverHit> hoverHitSixColumns(int x, int y) {
    const std::optional<ExtremeRow> row = rowAt(y);
    if (!row) {
        return std::nullopt;
    }
    for (int column = 0; column < static_cast<int>(kSixColumnSpans.size()); ++column) {
        const auto [left, right] = kSixColumnSpans[column];
        if (x >= left - 3 && x <= right + 3) {
            return HoverHit{column, *row};
        }
    }
    return std::nullopt;
}

std::string hoverDateText(const std::tm& when) {
    static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int month = when.tm_mon >= 0 && when.tm_mon < 12 ? when.tm_mon : 0;
    char text[16];
    std::snprintf(text, sizeof text, "%s %02d", kMonths[month], when.tm_mday);
    return text;
}

}  // namespace calidus
