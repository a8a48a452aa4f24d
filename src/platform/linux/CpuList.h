#pragma once

#include <sched.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace calidus {

// A kernel cpu list such as "0-3,6,8-9" as a 32-bit affinity mask; processors from 32 up are
// left out. Nothing for a malformed list.
std::optional<std::uint32_t> parseCpuList(std::string_view list);

// The processors of a 32-bit affinity mask as the system's set.
cpu_set_t cpuSetOf(std::uint32_t mask);

}  // namespace calidus
