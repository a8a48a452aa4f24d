#include "platform/linux/LinuxShell.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace calidus {

void LinuxShell::open(const std::string& address) {
    // A short-lived shell starts xdg-open in the background and ends at once, so the opener
    // (which may live as long as the browser) is never left behind as a zombie of ours.
    std::string shell = "/bin/sh";
    std::string dashC = "-c";
    std::string script = "xdg-open \"$1\" >/dev/null 2>&1 &";
    std::string name = "sh";
    std::string argument = address;
    char* argv[] = {shell.data(), dashC.data(),    script.data(),
                    name.data(),  argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, shell.c_str(), nullptr, nullptr, argv, environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
    }
}

}  // namespace calidus
