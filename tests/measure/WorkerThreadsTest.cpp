#include <gtest/gtest.h>

#include <functional>

#include "measure/ClockThread.h"
#include "measure/LoadThread.h"
#include "measure/ThreadControl.h"
#include "support/FakePlatform.h"

namespace calidus {
namespace {

using testing::FakeMachine;

// The thread procedures run on the test's thread, so their sleeps move the fake time. A
// 2.4 GHz time-stamp counter; processors above 3 refuse the thread.
struct Rig {
    struct Tsc : Processor {
        explicit Tsc(Rig& r) : rig(r) {}
        CpuidResult cpuid(std::uint32_t, std::uint32_t) override { return {}; }
        std::uint64_t rdtsc() override {
            return static_cast<std::uint64_t>(rig.machine.counter.load()) * 2400 + rig.tscJump;
        }
        Rig& rig;
    };
    struct FourProcessors : testing::FakeScheduler {
        explicit FourProcessors(Rig& r) : FakeScheduler(r.machine), rig(r) {}
        bool setThreadAffinity(std::uint32_t mask) override {
            rig.pins.push_back(mask);
            return mask <= 0x8 && FakeScheduler::setThreadAffinity(mask);
        }
        void sleep(std::chrono::milliseconds d) override {
            FakeScheduler::sleep(d);
            rig.onSleep(d.count());
        }
        Rig& rig;
    };

    FakeMachine machine;
    testing::FakeClock clock{machine};
    Tsc tsc{*this};
    FourProcessors scheduler{*this};
    std::atomic<int> flag{ThreadControl::kRunning};
    std::vector<std::uint32_t> pins;
    std::uint64_t tscJump = 0;
    std::function<void(long long)> onSleep = [](long long) {};
};

TEST(ClockThread, PinsHighPublishesAfterTheFirstPassAndIgnoresADisturbedWindow) {
    Rig rig;
    ClockFigures figures;
    int passes = 0;
    std::vector<double> published;
    rig.onSleep = [&](long long ms) {
        if (ms != 250) {
            return;
        }
        ++passes;
        if (passes == 2) {
            rig.tscJump += 2'400'000;  // one millisecond more in the long window of pass 2
        }
        if (passes == 1 || passes == 2) {
            published.push_back(figures.tscMHz.load());
        }
        if (passes == 4) {
            rig.flag = ThreadControl::kStopRequested;
        }
    };
    runClockThread(rig.flag, rig.clock, rig.tsc, rig.scheduler, figures, {.burstRounds = 1000});

    EXPECT_EQ(rig.pins, (std::vector<std::uint32_t>{0x100, 0x80, 0x40, 0x20, 0x10, 0x8}));
    // The burst's counters stood still: no figure until the first pass fills the ring.
    EXPECT_EQ(published, (std::vector<double>{0.0, 2400.0}));
    EXPECT_DOUBLE_EQ(figures.tscMHz, 2400.0) << "the disturbed pass changed nothing";
    EXPECT_DOUBLE_EQ(figures.tscPerQpcTick, 2400.0);
    EXPECT_EQ(passes, 4) << "the stop is seen once per pass";
    EXPECT_EQ(rig.flag, ThreadControl::kStopped);
    EXPECT_EQ(rig.machine.sleptMs, 4 * 375);
}

TEST(LoadThread, EachSecondPublishesTheCounterAfterAReferenceSampleAtTheStart) {
    struct Counter : ProcessorTimeCounter {
        explicit Counter(FakeMachine& m) : machine(m) {}
        double busyPercent() override {
            calls.push_back(machine.counter / 1000);
            return 20.0 * static_cast<double>(calls.size());
        }
        FakeMachine& machine;
        std::vector<std::int64_t> calls;  // at these milliseconds
    };
    Rig rig;
    Counter counter(rig.machine);
    std::atomic<double> load{0.0};
    std::vector<double> seen;
    rig.onSleep = [&](long long) {
        seen.push_back(load.load());
        if (seen.size() == 5) {
            rig.flag = ThreadControl::kStopRequested;
        }
    };
    runLoadThread(rig.flag, &counter, rig.scheduler, load, ThreadPriority::AboveNormal);
    EXPECT_EQ(counter.calls, (std::vector<std::int64_t>{0, 1000, 2000}));
    EXPECT_EQ(seen, (std::vector<double>{0.0, 0.0, 40.0, 40.0, 60.0}));
    EXPECT_EQ(rig.flag, ThreadControl::kStopped);
    EXPECT_EQ(rig.machine.sleptMs, 2500);

    Rig none;
    std::atomic<double> nothing{55.0};
    none.onSleep = [&](long long) {
        if (none.machine.sleptMs == 1500) {
            none.flag = ThreadControl::kStopRequested;
        }
    };
    runLoadThread(none.flag, nullptr, none.scheduler, nothing, ThreadPriority::TimeCritical);
    EXPECT_DOUBLE_EQ(nothing, 0.0) << "no counter publishes 0.0";
}

}  // namespace
}  // namespace calidus
