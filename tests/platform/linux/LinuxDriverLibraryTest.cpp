#include "platform/linux/LinuxDriverLibrary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>

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

// Processors need not be this machine's: the kernel, not the thread, picks the processor.
const std::vector<std::uint32_t> kCpus{0, 1, 5};

std::filesystem::path devicePath(const TempFolder& tree, std::uint32_t cpu) {
    return tree.path() / std::to_string(cpu) / "msr";
}

// A sparse stand-in for each processor's msr device.
void makeDevices(const TempFolder& tree) {
    for (const std::uint32_t cpu : kCpus) {
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

TEST(LinuxDriverLibrary, AccessReachesTheDeviceOfTheNamedProcessorAtTheRegistersOffset) {
    TempFolder tree;
    makeDevices(tree);
    std::vector<std::vector<std::string>> calls;
    std::vector<std::string> opened;
    LinuxDriverLibrary driver = makeDriver(tree, calls, true, [&](const std::string& path, bool w) {
        opened.push_back(path);
        return LinuxDriverLibrary::openDevice(path, w);
    });
    for (const std::uint32_t cpu : kCpus) {
        const auto c = static_cast<unsigned char>(cpu);
        putBytes(devicePath(tree, cpu), 0x19C, {0x44, 0x33, 0x22, c, 0x88, 0x77, 0x66, 0x55});
    }

    driver.start();
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(driver.status(), 0u);
    EXPECT_TRUE(driver.msrAvailable());
    for (const std::uint32_t cpu : kCpus) {
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        EXPECT_TRUE(driver.readMsr(cpu, 0x19C, low, high));
        EXPECT_EQ(low, 0x00223344u | cpu << 24);
        EXPECT_EQ(high, 0x55667788u);
        EXPECT_TRUE(driver.writeMsr(cpu, 0x1A0, 0xA1B2C3D0u + cpu, 0x0F));

        low = high = 7;
        EXPECT_FALSE(driver.readMsr(cpu, 0x2000, low, high));
        EXPECT_FALSE(driver.readMsr(cpu, 0x1FFC, low, high));  // only half of it inside
        EXPECT_EQ(low, 7u);
        EXPECT_EQ(high, 7u);
    }
    std::uint32_t low = 7;
    std::uint32_t high = 7;
    EXPECT_FALSE(driver.readMsr(2, 0x19C, low, high));  // no device for processor 2
    EXPECT_FALSE(driver.writeMsr(2, 0x19A, 0, 0));
    EXPECT_EQ(low, 7u);
    for (const std::uint32_t cpu : kCpus) {
        const auto c = static_cast<unsigned char>(0xD0 + cpu);
        EXPECT_EQ(bytesAt(devicePath(tree, cpu), 0x1A0),
                  (std::array<unsigned char, 8>{c, 0xC3, 0xB2, 0xA1, 0x0F, 0, 0, 0}));
    }
    // One descriptor per processor, kept; the missing device is tried at each access.
    const auto opensOf = [&](std::uint32_t cpu) {
        return std::count(opened.begin(), opened.end(), devicePath(tree, cpu).string());
    };
    EXPECT_EQ(opensOf(0), 1);
    EXPECT_EQ(opensOf(5), 1);

    driver.stop();
    EXPECT_TRUE(driver.readMsr(5, 0x19C, low, high));
    EXPECT_EQ(opensOf(5), 2);  // stop closed them
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
    EXPECT_FALSE(readOnly.writeMsr(0, 0x1A0, 1, 2));
}

}  // namespace
}  // namespace calidus
