#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace calidus {

struct UserAccount;

struct SpawnOptions {
    bool ownSession = false;  // out of reach of our terminal, and a process group to end it by
    bool quiet = false;       // standard input, output and error on /dev/null
    // The child's whole environment, "NAME=value"; none: ours.
    const std::vector<std::string>* environment = nullptr;
    // Root only: the child becomes this user, with the user's groups, before the program runs.
    const UserAccount* user = nullptr;
};

// The program file argv[0] stands for: itself when it holds a '/', else the first executable of
// that name on the PATH of the environment (ours when none is given).
std::optional<std::string> findProgram(const std::string& name,
                                       const std::vector<std::string>* environment = nullptr);

// The one place a program is started. argv[0] is a path, or a name found on PATH; the program
// starts with every signal at its default and none blocked. Nothing when it could not start.
std::optional<pid_t> spawnProgram(const std::vector<std::string>& argv, SpawnOptions options);

// Starts the program and lets it go: a short-lived shell starts it in the background and ends
// at once, so the program becomes init's child and never our zombie. False when the program
// was not found or the shell did not start. The shell and the program run in its own session,
// quiet, with the environment and user of the options.
bool spawnDetached(const std::vector<std::string>& argv, SpawnOptions options = {});

// Waits for a child to end: its exit status, 128 + the signal that killed it, or -1 when it is
// no child of ours.
int waitForExit(pid_t child);

}  // namespace calidus
