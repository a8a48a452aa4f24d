#include "measure/ThreadControl.h"

#include <functional>

#include <gtest/gtest.h>

#include "support/FakePlatform.h"

namespace calidus {
namespace {

// Counts the waits; the worker threads answer when the test says.
struct Rig {
    Rig() { scheduler = std::make_unique<Answering>(machine, *this); }
    struct Answering : testing::FakeScheduler {
        Answering(testing::FakeMachine& m, Rig& r) : FakeScheduler(m), rig(r) {}
        void sleep(std::chrono::milliseconds d) override {
            FakeScheduler::sleep(d);
            ++rig.sleeps;
            rig.onSleep(rig.sleeps);
        }
        Rig& rig;
    };

    testing::FakeMachine machine;
    ThreadControl control;
    int sleeps = 0;
    std::function<void(int)> onSleep = [](int) {};
    std::unique_ptr<Scheduler> scheduler;
};

TEST(ThreadControl, TheLoadThreadIsWaitedForFirstAndTheClockThreadGetsTheRest) {
    Rig rig;
    rig.control.clockThreadFlag = ThreadControl::kRunning;
    rig.control.loadThreadFlag = ThreadControl::kRunning;
    rig.onSleep = [&](int sleeps) {
        if (sleeps == 10) {
            rig.control.loadThreadFlag = ThreadControl::kStopped;
        }
    };
    EXPECT_FALSE(stopWorkerThreads(rig.control, *rig.scheduler, {}));
    EXPECT_EQ(rig.sleeps, 10 + 38);
    EXPECT_EQ(rig.machine.sleptMs, 4800);
    EXPECT_EQ(rig.control.clockThreadFlag, ThreadControl::kStopRequested);

    Rig prompt;
    prompt.control.clockThreadFlag = ThreadControl::kRunning;
    prompt.onSleep = [&](int) { prompt.control.clockThreadFlag = ThreadControl::kStopped; };
    EXPECT_TRUE(stopWorkerThreads(prompt.control, *prompt.scheduler, {}));
    EXPECT_EQ(prompt.sleeps, 1);
}

TEST(ThreadControl, TheXlEditionAsksAStartedClockThreadEvenBeforeItReportsRunning) {
    Rig started;
    started.control.clockThreadStarted = true;
    started.onSleep = [&](int) { started.control.clockThreadFlag = ThreadControl::kStopped; };
    EXPECT_TRUE(stopWorkerThreads(started.control, *started.scheduler,
                                  {.requestClockStopUnconditionally = true}));
    EXPECT_EQ(started.sleeps, 1);

    Rig never;  // a thread never started would otherwise cost the whole budget
    EXPECT_TRUE(stopWorkerThreads(never.control, *never.scheduler,
                                  {.requestClockStopUnconditionally = true}));
    EXPECT_EQ(never.sleeps, 0);
    EXPECT_EQ(never.control.clockThreadFlag, ThreadControl::kStopped);
}

}  // namespace
}  // namespace calidus
