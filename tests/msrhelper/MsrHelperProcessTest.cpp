// The helper program itself, started as the programs start it, over its real pipes, against
// the fake device tree it was built for.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/linux/HelperRegisters.h"
#include "platform/linux/LinuxDriverLibrary.h"
#include "platform/linux/MsrHelperClient.h"
#include "support/FakeMsrTree.h"
#include "support/TempFolder.h"

namespace calidus {
namespace {

using testing::FakeMsrTree;

constexpr std::uint64_t kMiscEnable = 0x4000850089;

HelperRecord request(HelperOperation operation, std::uint32_t processor, std::uint32_t index,
                     std::uint64_t value = 0) {
    HelperRecord record;
    record.operation = operation;
    record.processor = processor;
    record.index = index;
    record.setValue(value);
    return record;
}

HelperRecord read(std::uint32_t processor, std::uint32_t index) {
    return request(HelperOperation::Read, processor, index);
}

HelperRecord write(std::uint32_t processor, std::uint32_t index, std::uint64_t value) {
    return request(HelperOperation::Write, processor, index, value);
}

// A register lives at its own byte offset of a device file, so registers fewer than eight apart
// share bytes in the fake tree: each processor here holds only registers that do not.
TEST(MsrHelper, AnswersABatchWithinTheAllowListAndRestoresClockModulationUnlessToldGoodbye) {
    FakeMsrTree tree;
    tree.makeDevices(3);
    tree.set(0, 0x1A0, kMiscEnable);
    tree.set(1, 0x19A, 0x2);
    tree.set(1, 0x1A2, 0x640000);
    tree.set(2, 0x1A2, 0x5A0000);

    {
        MsrHelperClient client({FakeMsrTree::helper()});
        ASSERT_EQ(client.start(), RegisterAccessProblem::None);
        EXPECT_EQ(client.processors(), 3u);

        HelperRecord unknown = read(0, 0x10);
        unknown.operation = static_cast<HelperOperation>(7);
        HelperRecord reserved = read(0, 0x10);
        reserved.reserved = 1;
        HelperRecord foreign = read(0, 0x10);
        foreign.magic = 0x12345678;
        std::vector<HelperRecord> batch{
            read(1, 0x1A2),
            read(2, 0x1A2),
            read(0, 0x1D9),
            read(3, 0x10),
            write(2, 0x19A, 0x18),
            write(1, 0x19A, 0x2),
            write(0, 0x1A0, kMiscEnable | 1u << 20),
            write(0, 0x1A0, kMiscEnable & ~(std::uint64_t{1} << 38)),
            write(1, 0x1A2, 0),
            write(0, 0x38D, 0x333),
            unknown,
            reserved,
            foreign,
            read(1, 0x19A),
        };
        ASSERT_TRUE(client.exchange(batch));
        const std::vector<MsrStatus> expected{
            MsrStatus::Ok,
            MsrStatus::Ok,
            MsrStatus::ReadNotAllowed,
            MsrStatus::NoSuchProcessor,
            MsrStatus::Ok,
            MsrStatus::Unchanged,
            MsrStatus::ProtectedBits,
            MsrStatus::Ok,
            MsrStatus::WriteNotAllowed,
            MsrStatus::ProtectedBits,
            MsrStatus::UnknownOperation,
            MsrStatus::Malformed,
            MsrStatus::Malformed,
            MsrStatus::Ok,
        };
        for (std::size_t n = 0; n < batch.size(); ++n) {
            EXPECT_EQ(batch[n].status, expected[n]) << "request " << n;
        }
        EXPECT_EQ(batch[0].value(), 0x640000u);
        EXPECT_EQ(batch[1].value(), 0x5A0000u);
        EXPECT_EQ(batch[13].value(), 0x2u);
        EXPECT_EQ(tree.get(2, 0x19A), 0x18u);
        EXPECT_EQ(tree.get(0, 0x1A0), kMiscEnable & ~(std::uint64_t{1} << 38));
        EXPECT_EQ(tree.get(1, 0x1A2), 0x640000u);
        EXPECT_EQ(tree.get(0, 0x38D), 0u);
    }
    // Dropped without a goodbye, as a killed program's pipes close.
    EXPECT_EQ(tree.get(2, 0x19A), 0u);
    EXPECT_EQ(tree.get(1, 0x19A), 0x2u);

    MsrHelperClient orderly({FakeMsrTree::helper()});
    ASSERT_EQ(orderly.start(), RegisterAccessProblem::None);
    std::vector<HelperRecord> on{write(2, 0x19A, 0x18), write(1, 0x19A, 0x1E)};
    ASSERT_TRUE(orderly.exchange(on));
    orderly.goodbye();
    EXPECT_EQ(tree.get(2, 0x19A), 0x18u);
    EXPECT_EQ(tree.get(1, 0x19A), 0x1Eu);
    EXPECT_FALSE(orderly.exchange(on));
    EXPECT_EQ(on[0].status, MsrStatus::DeviceUnavailable);
}

TEST(MsrHelper, LoadsTheModuleByItsFixedPathWithNoEnvironmentOnlyWhenNoDeviceExists) {
    FakeMsrTree tree;
    EXPECT_EQ(MsrHelperClient({FakeMsrTree::helper()}).start(), RegisterAccessProblem::NoDevices);
    EXPECT_EQ(FakeMsrTree::loaderLog(), "msr|0\n");

    tree.makeDevices(3, true);
    MsrHelperClient loaded({FakeMsrTree::helper()});
    EXPECT_EQ(loaded.start(), RegisterAccessProblem::None);
    EXPECT_EQ(loaded.processors(), 3u);
    loaded.goodbye();

    EXPECT_EQ(MsrHelperClient({FakeMsrTree::helper()}).start(), RegisterAccessProblem::None);
    EXPECT_EQ(FakeMsrTree::loaderLog(), "msr|0\nmsr|0\n");
}

TEST(MsrHelperClient, TellsADismissedOrRefusedAuthenticationFromAFailedHelper) {
    struct Case {
        std::vector<std::string> command;
        RegisterAccessProblem expected;
    };
    const Case cases[] = {
        {{"/bin/sh", "-c", "exit 126"}, RegisterAccessProblem::Dismissed},
        {{"/bin/sh", "-c", "exit 127"}, RegisterAccessProblem::NotAuthorised},
        {{"/bin/sh", "-c", "exit 0"}, RegisterAccessProblem::HelperFailed},
        {{"/bin/sh", "-c", "echo not a greeting from the helper; exit 0"},
         RegisterAccessProblem::HelperFailed},
        {{"/calidus-no-such-launcher"}, RegisterAccessProblem::LauncherMissing},
        {{}, RegisterAccessProblem::LauncherMissing},
    };
    for (const Case& c : cases) {
        MsrHelperClient client(c.command);
        EXPECT_EQ(client.start(), c.expected) << (c.command.empty() ? "" : c.command.back());
    }
}

// The program's own driver over the helper, pkexec's place taken by env: a tick's batch is one
// round trip, an orderly stop leaves what the program set, a driver dropped as a killed
// program's is has the helper restore it.
TEST(MsrHelper, TheProgramsDriverReachesTheHelperAndAKilledProgramLeavesItRestoring) {
    FakeMsrTree tree;
    constexpr std::uint32_t cpu = 1;
    tree.makeDevices(2);
    tree.set(cpu, 0x1A2, 0x640000);
    const auto driver = [] {
        return LinuxDriverLibrary(
            std::make_unique<HelperRegisters>("/usr/bin/env", FakeMsrTree::helper()));
    };

    for (const bool orderly : {true, false}) {
        {
            LinuxDriverLibrary program = driver();
            program.start();
            ASSERT_EQ(program.status(), 0u);
            EXPECT_TRUE(program.msrAvailable());
            std::uint32_t low = 0;
            std::uint32_t high = 0;
            EXPECT_TRUE(program.readMsr(cpu, 0x1A2, low, high));
            EXPECT_EQ(low, 0x640000u);
            EXPECT_TRUE(program.writeMsr(cpu, 0x19A, 0x18, 0));
            EXPECT_FALSE(program.writeMsr(cpu, 0x1A2, 0, 0));
            std::vector<MsrRead> tick{{.processor = 0, .index = 0x19C},
                                      {.processor = cpu, .index = 0x1A2},
                                      {.processor = cpu, .index = 0x1D9},
                                      {.processor = 2, .index = 0x19C}};
            program.readBatch(tick);
            EXPECT_TRUE(tick[0].ok && tick[1].ok);
            EXPECT_EQ(tick[1].low, 0x640000u);
            EXPECT_FALSE(tick[2].ok || tick[3].ok);
            EXPECT_EQ(program.takeNotice(), "");
            if (orderly) {
                program.stop();
            }
        }
        EXPECT_EQ(tree.get(cpu, 0x19A), orderly ? 0x18u : 0u) << orderly;
        tree.set(cpu, 0x19A, 0);
    }
}

// A helper that ends during the run (here: its input cut after one request) is told once, and
// the driver stops writing into its closed pipe.
TEST(MsrHelper, AHelperThatDiesDuringTheRunIsToldOnceAndNotWrittenToAgain) {
    FakeMsrTree tree;
    tree.makeDevices(2);
    testing::TempFolder folder;
    const std::filesystem::path helper = folder / "one-request-helper";
    testing::TempFolder::write(helper, "#!/bin/sh\nhead -c " +
                                           std::to_string(sizeof(HelperRecord)) + " | exec '" +
                                           FakeMsrTree::helper() + "'\n");
    std::filesystem::permissions(helper, std::filesystem::perms::owner_all);
    LinuxDriverLibrary program(std::make_unique<HelperRegisters>("/usr/bin/env", helper));
    program.start();
    ASSERT_TRUE(program.msrAvailable());
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    EXPECT_FALSE(program.readMsr(0, 0x1A2, low, high));
    EXPECT_NE(program.takeNotice().find("failed"), std::string::npos);
    EXPECT_FALSE(program.readMsr(0, 0x1A2, low, high));
    EXPECT_EQ(program.takeNotice(), "");
    program.stop();
}

}  // namespace
}  // namespace calidus
