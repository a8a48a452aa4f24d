#include "platform/linux/LinuxProcessLauncher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "support/TempFolder.h"

namespace calidus {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

// This process taken for a normal user's, or for root's with no user who asked for root.
ProcessIdentity identity(bool root) {
    if (root) {
        return {.root = true, .environment = {"PATH=/usr/bin:/bin"}, .account = {}};
    }
    ProcessIdentity ours = thisProcess();
    ours.root = false;
    return ours;
}

// Waits, in short steps, for what a started program does.
bool eventually(const std::function<bool()>& condition) {
    for (int step = 0; step < 500; ++step) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(LinuxProcessLauncher, StartsAProgramOnItsOwnAndTellsWhyNot) {
    TempFolder folder;
    const std::filesystem::path done = folder / "done";
    const std::filesystem::path script = folder / "alarm.sh";
    // Arguments and working folder, written whole or not at all.
    TempFolder::write(script, "#!/bin/sh\necho \"$# $(pwd)\" > \"" + done.string() +
                                  ".part\" && mv \"" + done.string() + ".part\" \"" +
                                  done.string() + "\"\n");
    TempFolder::write(folder / "plain.txt", "not a program\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);

    struct Case {
        std::filesystem::path program;
        bool root;
        LaunchOutcome outcome;
    };
    for (const Case& c :
         {Case{folder / "missing.sh", false, LaunchOutcome::NotFound},
          Case{folder / "plain.txt", false, LaunchOutcome::Failed},
          Case{script, true, LaunchOutcome::Failed}, Case{script, false, LaunchOutcome::Started}}) {
        LinuxProcessLauncher launcher(identity(c.root));
        const LaunchResult result = launcher.startDetached(c.program);
        EXPECT_EQ(result.outcome, c.outcome) << c.program << " " << result.reason;
        EXPECT_EQ(result.reason.empty(), c.outcome == LaunchOutcome::Started);
    }
    for (int waited = 0; waited < 500 && !std::filesystem::exists(done); ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(TempFolder::read(done), "0 " + std::filesystem::current_path().string() + "\n");
}

TEST(LinuxProcessLauncher, AKeptProgramRunsUntilItsGroupIsEndedAndIsReaped) {
    TempFolder folder;
    LinuxProcessLauncher launcher(identity(false));
    for (const std::string name : {"polite", "stubborn"}) {
        const fs::path marker = folder / (name + ".ran");
        const fs::path script = folder / name;
        TempFolder::write(script, "#!/bin/sh\n" +
                                      std::string(name == "stubborn" ? "trap '' TERM\n" : "") +
                                      "echo run > \"" + marker.string() + "\"\nexec sleep 30\n");
        fs::permissions(script, fs::perms::owner_all);
        const std::optional<ProcessId> id = launcher.start(script, {});
        ASSERT_TRUE(id) << name;
        EXPECT_TRUE(eventually([&] { return fs::exists(marker); })) << name;
        EXPECT_TRUE(launcher.running(*id)) << name;
        EXPECT_TRUE(launcher.setAffinity(*id, 1)) << name;
        EXPECT_FALSE(launcher.setAffinity(*id, 0)) << name;

        launcher.end(*id, std::chrono::milliseconds(200));  // the stubborn one is killed
        EXPECT_FALSE(launcher.running(*id)) << name;
        EXPECT_FALSE(fs::exists("/proc/" + std::to_string(*id))) << name << ": not reaped";
    }
    EXPECT_FALSE(launcher.start(folder / "missing", {}));
    EXPECT_FALSE(LinuxProcessLauncher(identity(true)).start(folder / "polite", {}));
    EXPECT_FALSE(launcher.running(0));
}

}  // namespace
}  // namespace calidus
