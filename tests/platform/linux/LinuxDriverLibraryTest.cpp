#include "platform/linux/LinuxDriverLibrary.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>

#include "platform/linux/HelperRegisters.h"
#include "platform/linux/InProcessRegisters.h"
#include "support/TempFolder.h"

namespace calidus {
namespace {

using testing::TempFolder;

constexpr std::uintmax_t kDeviceSize = 0x1000;
constexpr std::uint64_t kMiscEnable = 0x850089;

// Processors need not be this machine's: the kernel, not the thread, picks the processor.
const std::vector<int> kCpus{0, 1, 5};

std::filesystem::path devicePath(const std::filesystem::path& root, int cpu) {
    return root / std::to_string(cpu) / "msr";
}

// A sparse stand-in for each processor's msr device.
void makeDevices(const std::filesystem::path& root) {
    for (const int cpu : kCpus) {
        std::filesystem::create_directories(devicePath(root, cpu).parent_path());
        std::ofstream{devicePath(root, cpu)};
        std::filesystem::resize_file(devicePath(root, cpu), kDeviceSize);
    }
}

std::uint64_t valueAt(const std::filesystem::path& device, std::uint32_t index) {
    std::uint64_t value = 0;
    std::ifstream in(device, std::ios::binary);
    in.seekg(index);
    in.read(reinterpret_cast<char*>(&value), sizeof value);
    return value;
}

void putValue(const std::filesystem::path& device, std::uint32_t index, std::uint64_t value) {
    std::fstream out(device, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(index);
    out.write(reinterpret_cast<const char*>(&value), sizeof value);
}

LinuxDriverLibrary inProcess(const TempFolder& tree, int& loads,
                             MsrDeviceFiles::OpenDevice open = MsrDeviceFiles::openDevice) {
    return LinuxDriverLibrary(std::make_unique<InProcessRegisters>(
        tree.path().string(),
        [&loads] {
            ++loads;
            return false;
        },
        std::move(open)));
}

TEST(LinuxDriverLibrary, RootReachesTheNamedProcessorsDeviceOnlyWithinTheAllowList) {
    TempFolder tree;
    makeDevices(tree.path());
    int loads = 0;
    LinuxDriverLibrary driver = inProcess(tree, loads);
        for (const int cpu : kCpus) {
        putValue(devicePath(tree.path(), cpu), 0xCE, 0x5566778800223300u + cpu);
        putValue(devicePath(tree.path(), cpu), 0x1A0, kMiscEnable);
    }

    driver.start();
    EXPECT_EQ(loads, 0);
    EXPECT_EQ(driver.status(), 0u);
    EXPECT_EQ(driver.takeNotice(), "");
    EXPECT_TRUE(driver.msrAvailable());
    std::vector<MsrRead> batch;
    for (const int cpu : kCpus) {
        const auto p = static_cast<std::uint32_t>(cpu);
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        EXPECT_TRUE(driver.readMsr(p, 0xCE, low, high));
        EXPECT_EQ(low, 0x00223300u + p);
        EXPECT_EQ(high, 0x55667788u);
        EXPECT_TRUE(driver.writeMsr(p, 0x1A0, kMiscEnable, 0x40));
        EXPECT_FALSE(driver.writeMsr(p, 0x1A0, kMiscEnable | 2, 0x40));
        EXPECT_FALSE(driver.writeMsr(p, 0xCE, 0, 0));

        low = high = 7;
        EXPECT_FALSE(driver.readMsr(p, 0x1D9, low, high));
        EXPECT_EQ(low, 7u);
        EXPECT_EQ(high, 7u);
        batch.push_back({.processor = p, .index = 0xCE});
        batch.push_back({.processor = p, .index = 0x1D9, .low = 7});
    }
    batch.push_back({.processor = 999, .index = 0xCE});
    driver.readBatch(batch);
    for (std::size_t n = 0; n + 1 < batch.size(); n += 2) {
        EXPECT_TRUE(batch[n].ok);
        EXPECT_EQ(batch[n].low, 0x00223300u + batch[n].processor);
        EXPECT_FALSE(batch[n + 1].ok);
        EXPECT_EQ(batch[n + 1].low, 7u);
    }
    EXPECT_FALSE(batch.back().ok);
    for (const int cpu : kCpus) {
        EXPECT_EQ(valueAt(devicePath(tree.path(), cpu), 0x1A0), 0x40'00000000u | kMiscEnable);
        EXPECT_EQ(valueAt(devicePath(tree.path(), cpu), 0xCE), 0x5566778800223300u + cpu);
    }
    EXPECT_EQ(driver.takeNotice(), "");

    driver.stop();
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    EXPECT_FALSE(driver.readMsr(0, 0xCE, low, high));
}

TEST(LinuxDriverLibrary, SaysOnceWhyRegistersAreMissingOrWritesAreRefused) {
    TempFolder tree;
    int loads = 0;

    LinuxDriverLibrary none = inProcess(tree, loads);
    none.start();
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(none.status(), 3u);
    EXPECT_FALSE(none.msrAvailable());
    EXPECT_EQ(none.takeNotice(), registerAccessNotice(RegisterAccessProblem::NoDevices));
    EXPECT_EQ(none.takeNotice(), "");

    LinuxDriverLibrary loaded(std::make_unique<InProcessRegisters>(tree.path().string(), [&] {
        makeDevices(tree.path());
        return true;
    }));
    EXPECT_EQ(loaded.status(), 0u);
    EXPECT_TRUE(loaded.msrAvailable());

    LinuxDriverLibrary refused =
        inProcess(tree, loads, [](const std::string&, bool) { return -1; });
    EXPECT_EQ(refused.status(), 2u);
    EXPECT_FALSE(refused.msrAvailable());
    EXPECT_EQ(refused.takeNotice(), registerAccessNotice(RegisterAccessProblem::DevicesRefused));

    LinuxDriverLibrary readOnly = inProcess(tree, loads, [](const std::string& path, bool w) {
        return w ? -1 : MsrDeviceFiles::openDevice(path, false);
    });
    EXPECT_EQ(readOnly.status(), 0u);
    EXPECT_TRUE(readOnly.msrAvailable());
    EXPECT_EQ(readOnly.takeNotice(), "");
    EXPECT_FALSE(readOnly.writeMsr(0, 0x38D, 0x330, 0));
    EXPECT_FALSE(readOnly.writeMsr(0, 0x19A, 0x18, 0));
    EXPECT_TRUE(readOnly.writeMsr(0, 0x19A, 0, 0));  // changes nothing, so nothing is written
    EXPECT_EQ(readOnly.takeNotice(), registerAccessNotice(RegisterAccessProblem::WritesLocked));
    EXPECT_EQ(readOnly.takeNotice(), "");
    EXPECT_EQ(loads, 1);

    LinuxDriverLibrary notInstalled(
        std::make_unique<HelperRegisters>("/usr/bin/env", (tree / "calidus-msr").string()));
    EXPECT_EQ(notInstalled.status(), 2u);
    EXPECT_EQ(notInstalled.takeNotice(),
              registerAccessNotice(RegisterAccessProblem::HelperMissing));
}

}  // namespace
}  // namespace calidus
