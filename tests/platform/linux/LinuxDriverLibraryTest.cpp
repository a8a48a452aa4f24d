#include "platform/linux/LinuxDriverLibrary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <fstream>

#include "platform/linux/LinuxScheduler.h"
#include "support/TempFolder.h"

namespace calidus {
namespace {

using testing::TempFolder;

struct RecordingRunner : CommandRunner {
    explicit RecordingRunner(std::vector<std::vector<std::string>>& calls) : calls(calls) {}
    int run(const std::vector<std::string>& argv) override {
        calls.push_back(argv);
        return 0;
    }
    std::vector<std::vector<std::string>>& calls;
};

constexpr std::uintmax_t kDeviceSize = 0x2000;

std::vector<int> allowedCpus() {
    const std::uint32_t mask = LinuxScheduler().affinityMasks().process;
    std::vector<int> cpus;
    for (int cpu = 0; cpu < 32; ++cpu) {
        if (mask & (1u << cpu)) {
            cpus.push_back(cpu);
        }
    }
    return cpus;
}

std::filesystem::path devicePath(const TempFolder& tree, int cpu) {
    return tree.path() / std::to_string(cpu) / "msr";
}

// A sparse stand-in for each processor's msr device.
void makeDevices(const TempFolder& tree) {
    for (const int cpu : allowedCpus()) {
        tree.put(devicePath(tree, cpu), "");
        std::filesystem::resize_file(devicePath(tree, cpu), kDeviceSize);
    }
}

std::array<unsigned char, 8> bytesAt(const std::filesystem::path& file, std::uint32_t offset) {
    std::array<unsigned char, 8> bytes{};
    std::ifstream in(file, std::ios::binary);
    in.seekg(offset);
    in.read(reinterpret_cast<char*>(bytes.data()), bytes.size());
    return bytes;
}

void putBytes(const std::filesystem::path& file, std::uint32_t offset,
              const std::array<unsigned char, 8>& bytes) {
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(offset);
    out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

LinuxDriverLibrary makeDriver(
    const TempFolder& tree, std::vector<std::vector<std::string>>& calls, bool root,
    LinuxDriverLibrary::OpenDevice open = LinuxDriverLibrary::openDevice) {
    return LinuxDriverLibrary(
        tree.path().string(), std::make_unique<RecordingRunner>(calls), [root] { return root; },
        std::move(open));
}

TEST(LinuxDriverLibrary, AccessReachesTheDeviceOfThePinnedProcessorAtTheRegistersOffset) {
    TempFolder tree;
    makeDevices(tree);
    std::vector<std::vector<std::string>> calls;
    int opens = 0;
    LinuxDriverLibrary driver = makeDriver(tree, calls, true, [&](const std::string& path, bool w) {
        ++opens;
        return LinuxDriverLibrary::openDevice(path, w);
    });
    LinuxScheduler scheduler;
    const std::uint32_t processMask = scheduler.affinityMasks().process;
    const std::vector<int> cpus = allowedCpus();
    for (const int cpu : cpus) {
        const auto c = static_cast<unsigned char>(cpu);
        putBytes(devicePath(tree, cpu), 0x19C, {0x44, 0x33, 0x22, c, 0x88, 0x77, 0x66, 0x55});
    }

    driver.start();
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(driver.status(), 0u);
    for (const int cpu : cpus) {
        ASSERT_TRUE(scheduler.setThreadAffinity(1u << cpu));
        scheduler.sleep(std::chrono::milliseconds(0));
        EXPECT_TRUE(driver.msrAvailable());
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        EXPECT_TRUE(driver.readMsr(0x19C, low, high));
        EXPECT_EQ(low, 0x00223344u | static_cast<std::uint32_t>(cpu) << 24);
        EXPECT_EQ(high, 0x55667788u);
        EXPECT_TRUE(driver.writeMsr(0x1A0, 0xA1B2C3D0u + static_cast<std::uint32_t>(cpu), 0x0F));

        low = high = 7;
        EXPECT_FALSE(driver.readMsr(0x2000, low, high));
        EXPECT_FALSE(driver.readMsr(0x1FFC, low, high));  // only half of it inside the device
        EXPECT_EQ(low, 7u);
        EXPECT_EQ(high, 7u);
    }
    for (const int cpu : cpus) {
        const auto c = static_cast<unsigned char>(0xD0 + cpu);
        EXPECT_EQ(bytesAt(devicePath(tree, cpu), 0x1A0),
                  (std::array<unsigned char, 8>{c, 0xC3, 0xB2, 0xA1, 0x0F, 0, 0, 0}));
    }
    EXPECT_EQ(opens, static_cast<int>(cpus.size()));  // one descriptor per processor, kept

    driver.stop();
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    EXPECT_TRUE(driver.readMsr(0x19C, low, high));
    EXPECT_EQ(opens, static_cast<int>(cpus.size()) + 1);  // stop closed them
    scheduler.setThreadAffinity(processMask);
}

TEST(LinuxDriverLibrary, WithoutDevicesIsNotFoundAndOnlyRootLoadsTheModule) {
    TempFolder tree;
    std::vector<std::vector<std::string>> calls;

    LinuxDriverLibrary user = makeDriver(tree, calls, false);
    user.start();
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(user.status(), 3u);
    EXPECT_FALSE(user.msrAvailable());

    LinuxDriverLibrary root = makeDriver(tree, calls, true);
    root.start();
    EXPECT_EQ(calls, (std::vector<std::vector<std::string>>{{"modprobe", "msr"}}));
    EXPECT_EQ(root.status(), 3u);

    tree.put("not-a-cpu/msr", "");
    EXPECT_EQ(root.status(), 3u);
    LinuxDriverLibrary elsewhere((tree.path() / "missing").string(),
                                 std::make_unique<RecordingRunner>(calls), [] { return false; });
    EXPECT_EQ(elsewhere.status(), 3u);
}

TEST(LinuxDriverLibrary, RefusedDeviceIsNotLoadedAndReadOnlyDeviceOnlyReads) {
    TempFolder tree;
    makeDevices(tree);
    std::vector<std::vector<std::string>> calls;

    LinuxDriverLibrary refused =
        makeDriver(tree, calls, true, [](const std::string&, bool) { return -1; });
    refused.start();
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(refused.status(), 2u);
    EXPECT_FALSE(refused.msrAvailable());

    LinuxDriverLibrary readOnly =
        makeDriver(tree, calls, true, [](const std::string& path, bool w) {
            return w ? -1 : LinuxDriverLibrary::openDevice(path, false);
        });
    EXPECT_EQ(readOnly.status(), 0u);
    EXPECT_TRUE(readOnly.msrAvailable());
    EXPECT_FALSE(readOnly.writeMsr(0x1A0, 1, 2));
}

}  // namespace
}  // namespace calidus
