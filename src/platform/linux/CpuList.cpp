#include "platform/linux/CpuList.h"

#include <charconv>

namespace calidus {

namespace {

std::optional<unsigned> parseNumber(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::uint32_t rangeMask(unsigned first, unsigned last) {
    std::uint32_t mask = 0;
    for (unsigned cpu = first; cpu <= last && cpu < 32; ++cpu) {
        mask |= std::uint32_t{1} << cpu;
    }
    return mask;
}

}  // namespace

cpu_set_t cpuSetOf(std::uint32_t mask) {
    cpu_set_t set;
    CPU_ZERO(&set);
    for (int cpu = 0; cpu < 32; ++cpu) {
        if (mask & (std::uint32_t{1} << cpu)) {
            CPU_SET(cpu, &set);
        }
    }
    return set;
}

std::optional<std::uint32_t> parseCpuList(std::string_view list) {
    while (!list.empty() && (list.back() == '\n' || list.back() == ' ')) {
        list.remove_suffix(1);
    }
    if (list.empty()) {
        return std::nullopt;
    }
    std::uint32_t mask = 0;
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        const std::size_t dash = item.find('-');
        const std::optional<unsigned> first = parseNumber(item.substr(0, dash));
        const std::optional<unsigned> last =
            dash == std::string_view::npos ? first : parseNumber(item.substr(dash + 1));
        if (!first || !last || *last < *first) {
            return std::nullopt;
        }
        mask |= rangeMask(*first, *last);
        if (comma == std::string_view::npos) {
            return mask;
        }
        list.remove_prefix(comma + 1);
    }
}

}  // namespace calidus
