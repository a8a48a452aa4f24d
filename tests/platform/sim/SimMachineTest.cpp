#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/sim/DescriptionParser.h"
#include "platform/sim/SimScheduler.h"
#include "platform/sim/SimulatedPlatform.h"

namespace calidus {
namespace {

// The real machine as the simulated one sees it, all set by the test.
struct Host {
    std::int64_t nanoseconds = 0;
    double busyPercent = 0.0;
    int sleeps = 0;

    void pass(double seconds) { nanoseconds += static_cast<std::int64_t>(seconds * 1e9); }
};

class HostClock : public Clock {
  public:
    explicit HostClock(Host& host) : host_(host) {}
    std::int64_t counter() override { return host_.nanoseconds; }
    std::int64_t counterFrequency() override { return 1'000'000'000; }
    std::uint32_t tickCount() override { return 0; }
    std::time_t now() override { return 0; }
    std::tm localTime(std::time_t) override { return {}; }

  private:
    Host& host_;
};

class HostLoad : public ProcessorTimeCounter {
  public:
    explicit HostLoad(Host& host) : host_(host) {}
    double busyPercent() override { return host_.busyPercent; }

  private:
    Host& host_;
};

class HostScheduler : public Scheduler {
  public:
    explicit HostScheduler(Host& host) : host_(host) {}
    AffinityMasks affinityMasks() override { return {1, 1}; }
    bool setProcessAffinity(std::uint32_t) override { return true; }
    bool setThreadAffinity(std::uint32_t) override { return true; }
    void setProcessPriority(ProcessPriority) override {}
    void setThreadPriority(ThreadPriority) override {}
    void sleep(std::chrono::milliseconds) override { ++host_.sleeps; }

  private:
    Host& host_;
};

Platform simulate(const std::string& text, Host& host) {
    DescriptionParse parse = parseMachineDescription(text);
    EXPECT_TRUE(parse.description) << parse.error;
    return makeSimulatedPlatform(
        std::move(*parse.description),
        {std::make_unique<HostScheduler>(host), std::make_unique<HostClock>(host),
         std::make_unique<HostLoad>(host)});
}

std::string builtIn(const std::string& name) {
    for (const BuiltInModel& model : builtInModels()) {
        if (model.name == name) {
            return model.description;
        }
    }
    ADD_FAILURE() << name;
    return {};
}

std::uint64_t read(Platform& platform, std::uint32_t processor, std::uint32_t index) {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    EXPECT_TRUE(platform.driver->readMsr(processor, index, low, high)) << std::hex << index;
    return std::uint64_t{high} << 32 | low;
}

void write(Platform& platform, std::uint32_t processor, std::uint32_t index, std::uint64_t value) {
    EXPECT_TRUE(platform.driver->writeMsr(processor, index, static_cast<std::uint32_t>(value),
                                          static_cast<std::uint32_t>(value >> 32)));
}

int reading(Platform& platform, std::uint32_t processor) {
    return static_cast<int>(read(platform, processor, 0x19C) >> 16 & 0x7F);
}

const std::string kTwoProcessors = "[Machine]\nSignature=0x6FB\nApicIds=0,1\n";

TEST(SimMachine, AnswersCpuidPerLogicalProcessor) {
    Host host;
    Platform machine = simulate(builtIn("i7-980x"), host);
    const std::uint32_t apicIds[] = {0, 1, 2, 3, 4, 5, 16, 17, 18, 19, 20, 21};
    for (int p = 0; p < 12; ++p) {
        machine.scheduler->setThreadAffinity(1u << p | 1u << 11);  // the lowest bit decides
        const CpuidResult leaf1 = machine.processor->cpuid(1, 0);
        EXPECT_EQ(leaf1.eax, 0x206C2u);
        EXPECT_EQ(leaf1.ebx, apicIds[p] << 24 | 32u << 16) << p;
        EXPECT_EQ(leaf1.ecx & 1, 1u);
        EXPECT_EQ(leaf1.edx & 0x20, 0x20u);
    }
    const CpuidResult leaf0 = machine.processor->cpuid(0, 0);
    EXPECT_EQ(leaf0.eax, 11u);
    EXPECT_EQ((std::array{leaf0.ebx, leaf0.edx, leaf0.ecx}),
              (std::array{0x756E6547u, 0x49656E69u, 0x6C65746Eu}));
    EXPECT_EQ(machine.processor->cpuid(4, 0).eax >> 26, 15u);
    EXPECT_EQ(machine.processor->cpuid(6, 0).eax & 1, 1u);
    EXPECT_EQ(machine.processor->cpuid(0x80000000, 0).eax, 0x80000008u);
    std::string brand;
    for (std::uint32_t leaf = 0x80000002; leaf <= 0x80000004; ++leaf) {
        const CpuidResult r = machine.processor->cpuid(leaf, 0);
        for (std::uint32_t reg : {r.eax, r.ebx, r.ecx, r.edx}) {
            for (int byte = 0; byte < 4; ++byte) {
                brand.push_back(static_cast<char>(reg >> (8 * byte)));
            }
        }
    }
    EXPECT_EQ(brand, std::string("Intel(R) Core(TM) i7 CPU       X 980  @ 3.33GHz") + '\0');

    Platform amd = simulate(builtIn("phenom"), host);
    EXPECT_EQ(amd.processor->cpuid(6, 0).eax, 0u);  // above its highest leaf, and no sensor
    EXPECT_EQ(amd.processor->cpuid(1, 0).eax & 0xF0FFF, 0xF22u);
    Platform noBrand = simulate(kTwoProcessors, host);
    EXPECT_LT(noBrand.processor->cpuid(0x80000000, 0).eax, 0x80000004u);
    EXPECT_EQ(noBrand.processor->cpuid(0x80000002, 0).eax, 0u);
}

TEST(SimMachine, SchedulerKeepsEachThreadsAffinity) {
    Host host;
    Platform machine = simulate(builtIn("d510"), host);
    EXPECT_EQ(machine.scheduler->affinityMasks().system, 0xFu);
    EXPECT_EQ(machine.scheduler->affinityMasks().process, 0xFu);
    EXPECT_FALSE(machine.scheduler->setThreadAffinity(0x10));  // no fifth processor
    EXPECT_FALSE(machine.scheduler->setThreadAffinity(0));
    ASSERT_TRUE(machine.scheduler->setThreadAffinity(0x8));

    std::uint32_t otherThreadsApicId = 99;
    std::thread([&] { otherThreadsApicId = machine.processor->cpuid(1, 0).ebx >> 24; }).join();
    EXPECT_EQ(otherThreadsApicId, 0u);  // unpinned threads run on the first processor
    EXPECT_EQ(machine.processor->cpuid(1, 0).ebx >> 24, 3u);

    ASSERT_TRUE(machine.scheduler->setProcessAffinity(0x4));  // pins every thread
    EXPECT_EQ(machine.processor->cpuid(1, 0).ebx >> 24, 2u);
    EXPECT_FALSE(machine.scheduler->setThreadAffinity(0x1));  // outside the process
    EXPECT_EQ(machine.scheduler->affinityMasks().process, 0x4u);
    ASSERT_TRUE(machine.scheduler->setThreadAffinity(0x4));  // already there: no move
    // 0 to 3, then 3 to 2; a refused change moves nothing.
    EXPECT_EQ(static_cast<SimScheduler&>(*machine.scheduler).migrations(), 2);

    machine.scheduler->sleep(std::chrono::milliseconds(0));
    EXPECT_EQ(host.sleeps, 1);  // sleeping happens on the real machine
}

TEST(SimMachine, RegistersFollowScriptsOverridesAndWrites) {
    Host host;
    Platform machine = simulate(kTwoProcessors +
                                    "[Msr]\n0x19C=0x88370000,0x88360000\n0x1A2=0x00640000\n"
                                    "[Msr.1]\n0x19C=0x88300000,0x88310000,0x88320000\n",
                                host);
    EXPECT_EQ(read(machine, 0, 0x19C), 0x88370000u);
    EXPECT_EQ(read(machine, 1, 0x19C), 0x88300000u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(read(machine, 0, 0x19C), 0x88360000u);  // the last value repeats
    }
    EXPECT_EQ(read(machine, 1, 0x19C), 0x88310000u);
    EXPECT_EQ(read(machine, 1, 0x19C), 0x88320000u);
    EXPECT_EQ(read(machine, 1, 0x19C), 0x88320000u);
    EXPECT_EQ(read(machine, 1, 0x1A2), 0x00640000u);  // what an override leaves alone
    EXPECT_EQ(read(machine, 1, 0x1FC), 0u);           // not described

    write(machine, 1, 0x19A, 0x1E);
    write(machine, 0, 0x1A0, 0x0000004000850089);
    EXPECT_EQ(read(machine, 1, 0x19A), 0x1Eu);
    EXPECT_EQ(read(machine, 0, 0x19A), 0u);
    EXPECT_EQ(read(machine, 0, 0x1A0), 0x0000004000850089u);
    write(machine, 0, 0x19C, 0x88000000);  // a write ends the script
    EXPECT_EQ(read(machine, 0, 0x19C), 0x88000000u);
    EXPECT_EQ(read(machine, 1, 0x19C), 0x88320000u);
}

TEST(SimMachine, MissingRegistersAndAnUnusableDriverFail) {
    Host host;
    Platform machine = simulate(kTwoProcessors + "Missing=0x1AD,0x1A2\n[Msr]\n0x1A2=1\n", host);
    std::uint32_t low = 0xDEAD;
    std::uint32_t high = 0xBEEF;
    EXPECT_FALSE(machine.driver->readMsr(0, 0x1AD, low, high));
    EXPECT_FALSE(machine.driver->readMsr(1, 0x1A2, low, high));
    EXPECT_FALSE(machine.driver->readMsr(2, 0x19C, low, high));  // no third processor
    EXPECT_EQ(low, 0xDEADu);
    EXPECT_EQ(high, 0xBEEFu);
    EXPECT_FALSE(machine.driver->writeMsr(0, 0x1AD, 1, 0));
    EXPECT_FALSE(machine.driver->writeMsr(2, 0x19A, 1, 0));
    EXPECT_EQ(machine.driver->status(), 0u);
    EXPECT_TRUE(machine.driver->msrAvailable());

    Platform denied = simulate(kTwoProcessors + "DriverStatus=2\n", host);
    EXPECT_EQ(denied.driver->status(), 2u);
    EXPECT_FALSE(denied.driver->readMsr(0, 0x19A, low, high));
    Platform noMsr = simulate(kTwoProcessors + "MsrAvailable=0\n", host);
    EXPECT_FALSE(noMsr.driver->msrAvailable());
    EXPECT_FALSE(noMsr.driver->writeMsr(0, 0x19A, 2, 0));
}

TEST(SimMachine, SensorCoolsWithLessLoadAndWithClockModulation) {
    Host host;
    Platform machine = simulate(builtIn("e8400"), host);
    host.busyPercent = 5.0;
    const std::uint64_t status = read(machine, 0, 0x19C);
    EXPECT_EQ(status & 0x80000000, 0x80000000u);  // reading valid
    const int idle = reading(machine, 0);
    const int otherIdle = reading(machine, 1);
    EXPECT_GT(idle, 40);
    EXPECT_NE(idle, otherIdle);  // no two cores read alike

    host.busyPercent = 95.0;
    host.pass(1.0);
    const int afterOneSecond = reading(machine, 0);
    host.pass(60.0);
    const int loaded = reading(machine, 0);
    EXPECT_LT(loaded, idle - 20);
    EXPECT_LT(afterOneSecond, idle);  // on its way, not there yet
    EXPECT_GT(afterOneSecond, loaded);

    write(machine, 0, 0x19A, 0x10 | 1 << 1);  // on at 12.5 %
    host.pass(60.0);
    EXPECT_GT(reading(machine, 0), loaded + 20);
    host.pass(60.0);
    EXPECT_LT(reading(machine, 1), otherIdle - 20);  // modulation was set on processor 0 only
}

TEST(SimMachine, CountersRunAtTscRateRatioAndLoad) {
    Host host;
    host.busyPercent = 50.0;
    Platform machine = simulate(builtIn("i7-920"), host);
    const std::uint64_t tsc0 = read(machine, 2, 0x10);
    const std::uint64_t core0 = read(machine, 2, 0x30A);
    host.pass(1.0);
    EXPECT_EQ(read(machine, 2, 0x10) - tsc0, 2'666'670'000u);
    EXPECT_EQ(machine.processor->rdtsc(), read(machine, 5, 0x10));  // RDTSC reads the register
    EXPECT_FALSE(machine.driver->writeMsr(2, 0x10, 0, 0));
    EXPECT_EQ(read(machine, 2, 0x30A), core0);  // not enabled yet

    write(machine, 2, 0x38D, 0x330);
    const std::uint64_t reference1 = read(machine, 2, 0x30B);
    const std::uint64_t core1 = read(machine, 2, 0x30A);
    host.pass(0.5);
    EXPECT_EQ(read(machine, 2, 0x10) - tsc0, 4'000'005'000u);
    const double reference = static_cast<double>(read(machine, 2, 0x30B) - reference1);
    const double core = static_cast<double>(read(machine, 2, 0x30A) - core1);
    EXPECT_NEAR(reference, 0.5 * 0.5 * 2'666'670'000.0, 1e3);  // busy half of half a second
    // Half busy on every core: halfway from 12 to the four-core turbo limit of 21, rounded.
    EXPECT_NEAR(core / reference, 17.0 / 20.0, 1e-6);
    EXPECT_EQ(read(machine, 2, 0x198) & 0xFF, 17u);

    write(machine, 2, 0x30A, 0xFFFFFFFFFFull);  // 40 bits wide: wraps past the top
    host.pass(0.5);
    EXPECT_LT(read(machine, 2, 0x30A), 0xFFFFFFFFFFull / 2);
}

TEST(SimMachine, ScriptedLoadsSetEachProcessorsRatioAndATimedFlexibleRatioTheTscRate) {
    Host host;
    host.busyPercent = 50.0;  // for the processors without a script
    Platform e8400 =
        simulate(builtIn("e8400") + "[Load]\n1=0,100\n[TimedMsr]\n0x194=0,0,0x10800\n", host);
    for (int p = 0; p < 2; ++p) {
        write(e8400, p, 0x38D, 0x330);
    }
    const std::uint64_t tsc0 = read(e8400, 1, 0x10);
    const std::uint64_t idle = read(e8400, 1, 0x30B);
    host.pass(1.0);
    EXPECT_EQ(read(e8400, 1, 0x30B), idle) << "a processor scripted idle counts nothing";
    EXPECT_EQ(read(e8400, 0, 0x198), 0x0000092000004720u) << "7.5, halfway from 6 to 9";
    EXPECT_EQ(read(e8400, 1, 0x198), 0x0000092000000920u) << "second 1: busy";
    host.pass(1.0);
    EXPECT_NEAR(static_cast<double>(read(e8400, 1, 0x30B) - idle), 3e9, 1e3);
    EXPECT_EQ(read(e8400, 1, 0x198), 0x0000082000000820u) << "capped at 8 from second 2 on";
    host.pass(1.5);  // at 8 times the bus clock
    EXPECT_EQ(read(e8400, 1, 0x10) - tsc0, 6'000'000'000ull + 4'000'000'000ull);
}

}  // namespace
}  // namespace calidus
