#pragma once

// The world of the stand-in helper calidus-msr-fake, fixed when the build was configured: its
// device root cpu/ of sparse files, the devices module/ that its fake modprobe "loads", and
// that loader's log. Tests that use it hold the build's msr lock.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace calidus::testing {

class FakeMsrTree {
  public:
    static constexpr std::uintmax_t kDeviceSize = 0x1000;

    // Empty: no devices, nothing to load.
    FakeMsrTree() {
        std::filesystem::remove_all(world() / "cpu");
        std::filesystem::remove_all(world() / "module");
        std::filesystem::remove(world() / "modprobe.log");
    }
    ~FakeMsrTree() {
        std::error_code ignored;
        std::filesystem::remove_all(world() / "cpu", ignored);
        std::filesystem::remove_all(world() / "module", ignored);
    }
    FakeMsrTree(const FakeMsrTree&) = delete;
    FakeMsrTree& operator=(const FakeMsrTree&) = delete;

    static std::filesystem::path world() { return CALIDUS_FAKE_MSR; }
    static std::string helper() { return CALIDUS_FAKE_HELPER; }

    // Devices for processors 0..count-1, in place or left for the module load.
    void makeDevices(int count, bool loadedByModule = false) const {
        const std::filesystem::path root = world() / (loadedByModule ? "module" : "cpu");
        for (int cpu = 0; cpu < count; ++cpu) {
            const std::filesystem::path device = root / std::to_string(cpu) / "msr";
            std::filesystem::create_directories(device.parent_path());
            std::ofstream{device};
            std::filesystem::resize_file(device, kDeviceSize);
        }
    }

    void set(int cpu, std::uint32_t index, std::uint64_t value) const {
        std::fstream file(device(cpu), std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(index);
        file.write(reinterpret_cast<const char*>(&value), sizeof value);
    }
    std::uint64_t get(int cpu, std::uint32_t index) const {
        std::uint64_t value = 0;
        std::ifstream file(device(cpu), std::ios::binary);
        file.seekg(index);
        file.read(reinterpret_cast<char*>(&value), sizeof value);
        return value;
    }

    // One line per run of the fake modprobe: its arguments, '|', how many environment variables
    // it had besides the shell's own PWD.
    static std::string loaderLog() {
        std::ifstream log(world() / "modprobe.log");
        std::string all;
        for (std::string line; std::getline(log, line);) {
            all += line + "\n";
        }
        return all;
    }

  private:
    static std::filesystem::path device(int cpu) {
        return world() / "cpu" / std::to_string(cpu) / "msr";
    }
};

}  // namespace calidus::testing
