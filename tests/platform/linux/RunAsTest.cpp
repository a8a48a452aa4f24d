#include "platform/linux/RunAs.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/linux/LinuxProcessLauncher.h"
#include "support/TempFolder.h"

namespace calidus {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

std::optional<UserAccount> ann(uid_t uid) {
    if (uid != 1000) {
        return std::nullopt;
    }
    return UserAccount{
        .uid = 1000, .gid = 1000, .name = "ann", .home = "/home/ann", .groups = {1000, 27}};
}

bool has(const std::vector<std::string>& environment, const std::string& entry) {
    return std::find(environment.begin(), environment.end(), entry) != environment.end();
}

TEST(RunAs, ARootRunStartsProgramsAsTheUserWhoAskedForRootOrNotAtAll) {
    const std::vector<std::string> ours{"PATH=/tmp/evil:/usr/bin", "LD_PRELOAD=/tmp/evil.so",
                                        "DISPLAY=:1", "HOME=/root",
                                        "DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/0/bus"};
    const auto with = [&](std::vector<std::string> extra) {
        extra.insert(extra.end(), ours.begin(), ours.end());
        return extra;
    };
    struct Case {
        const char* name;
        bool root;
        std::vector<std::string> environment;
        bool refused;
        std::optional<uid_t> user;
    };
    const Case cases[] = {
        {"a normal user", false, ours, false, std::nullopt},
        {"pkexec", true, with({"PKEXEC_UID=1000"}), false, 1000},
        {"sudo", true, with({"SUDO_UID=1000", "SUDO_GID=1000"}), false, 1000},
        {"pkexec before sudo", true, with({"SUDO_UID=0", "PKEXEC_UID=1000"}), false, 1000},
        {"root's own sudo", true, with({"SUDO_UID=0"}), true, std::nullopt},
        {"a root login", true, ours, true, std::nullopt},
        {"a number that is none", true, with({"SUDO_UID=10x"}), true, std::nullopt},
        {"a user the system does not know", true, with({"PKEXEC_UID=4242"}), true, std::nullopt},
    };
    for (const Case& c : cases) {
        const RunAs run =
            decideRunAs({.root = c.root, .environment = c.environment, .account = ann});
        EXPECT_EQ(!run.refusal.empty(), c.refused) << c.name;
        EXPECT_EQ(run.user ? std::optional(run.user->uid) : std::nullopt, c.user) << c.name;
        EXPECT_FALSE(has(run.environment, "LD_PRELOAD=/tmp/evil.so")) << c.name;
        if (!c.root) {
            EXPECT_TRUE(has(run.environment, "PATH=/tmp/evil:/usr/bin")) << c.name;
        }
        if (c.user) {
            const std::vector<std::string> expected{
                "HOME=/home/ann",
                "USER=ann",
                "LOGNAME=ann",
                "PATH=/usr/local/bin:/usr/bin:/bin",
                "DISPLAY=:1",
                "XDG_RUNTIME_DIR=/run/user/1000",
                "DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/1000/bus"};
            EXPECT_EQ(run.environment, expected) << c.name;
        }
    }
}

// The real drop: a program started by root under sudo runs as that user, in its groups.
TEST(RunAs, AsRootAProgramRunsAsTheInvokingUser) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root: run the tests as root to check what root starts";
    }
    TempFolder folder;
    fs::permissions(folder.path(), fs::perms::all);
    const fs::path report = folder / "report";
    const fs::path script = folder / "alarm.sh";
    TempFolder::write(script, "#!/bin/sh\necho \"$(id -u) $(id -G) $HOME ${LD_PRELOAD-none}\" > " +
                                  report.string() + ".part && mv " + report.string() + ".part " +
                                  report.string() + "\n");
    fs::permissions(script, fs::perms::all);
    ProcessIdentity identity = thisProcess();
    identity.environment = {"SUDO_UID=65534", "LD_PRELOAD=/nothing.so"};
    LinuxProcessLauncher launcher(identity);
    const LaunchResult result = launcher.startDetached(script);
    ASSERT_EQ(result.outcome, LaunchOutcome::Started) << result.reason;
    for (int waited = 0; waited < 500 && !fs::exists(report); ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const std::optional<UserAccount> nobody = identity.account(65534);
    ASSERT_TRUE(nobody);
    std::string groups;
    for (const gid_t group : nobody->groups) {
        groups += (groups.empty() ? "" : " ") + std::to_string(group);
    }
    EXPECT_EQ(TempFolder::read(report), "65534 " + groups + " " + nobody->home + " none\n");
}

}  // namespace
}  // namespace calidus
