#include "platform/StopSignals.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>

namespace calidus {
namespace {

// The flag is the process's, so each signal is tried in a process of its own.
TEST(LinuxStopSignals, EverySignalThatWouldEndTheProgramAsksForTheShutdownAndWakesTheWait) {
    for (const int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            installStopSignals();
            bool ok = !stopSignalled();
            std::raise(signal);
            std::raise(SIGPIPE);  // ignored: a closed pipe shows as a failed write
            const auto before = std::chrono::steady_clock::now();
            waitUnlessStopSignalled(std::chrono::hours(1));
            ok = ok && stopSignalled() &&
                 std::chrono::steady_clock::now() - before < std::chrono::seconds(5);
            pollfd wake{.fd = stopSignalDescriptor(), .events = POLLIN, .revents = 0};
            ok = ok && poll(&wake, 1, 0) == 1;
            _exit(ok ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "signal " << signal;
    }
}

}  // namespace
}  // namespace calidus
