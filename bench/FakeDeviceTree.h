#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace calidus {

// A sparse /dev/cpu/<n>/msr per processor of the mask, in a fresh temporary folder, for the
// real Linux driver to read.
inline std::filesystem::path makeDeviceTree(std::uint32_t processMask) {
    const std::filesystem::path root = std::filesystem::temp_directory_path() /
                                       ("calidus-bench-" + std::to_string(std::random_device{}()));
    for (int cpu = 0; cpu < 32; ++cpu) {
        if (processMask & (1u << cpu)) {
            const std::filesystem::path device = root / std::to_string(cpu) / "msr";
            std::filesystem::create_directories(device.parent_path());
            std::ofstream{device};
            std::filesystem::resize_file(device, 0x2000);
        }
    }
    return root;
}

}  // namespace calidus
