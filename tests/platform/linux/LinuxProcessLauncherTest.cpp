#include "platform/linux/LinuxProcessLauncher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/TempFolder.h"

namespace calidus {
namespace {

using testing::TempFolder;

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
        LinuxProcessLauncher launcher([&c] { return c.root; });
        const LaunchResult result = launcher.startDetached(c.program);
        EXPECT_EQ(result.outcome, c.outcome) << c.program << " " << result.reason;
        EXPECT_EQ(result.reason.empty(), c.outcome == LaunchOutcome::Started);
    }
    for (int waited = 0; waited < 500 && !std::filesystem::exists(done); ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(TempFolder::read(done), "0 " + std::filesystem::current_path().string() + "\n");
}

}  // namespace
}  // namespace calidus
