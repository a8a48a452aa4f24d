#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace calidus {

struct UserAccount {
    uid_t uid = 0;
    gid_t gid = 0;
    std::string name;
    std::string home;
    std::vector<gid_t> groups;  // the supplementary groups, the user's own group among them
};

// What decides who a started program runs as: whether we are root, our environment, and the
// user accounts of the system.
struct ProcessIdentity {
    bool root = false;
    std::vector<std::string> environment;  // "NAME=value"
    std::function<std::optional<UserAccount>(uid_t uid)> account;
};

ProcessIdentity thisProcess();

// How a program is started. A root run never starts one as root: it starts it as the user who
// asked for root (pkexec, sudo), with a clean environment of that user's, or refuses.
struct RunAs {
    std::optional<UserAccount> user;       // the user to become in the child; none: stay as we are
    std::vector<std::string> environment;  // "NAME=value", the child's whole environment
    std::string refusal;                   // not empty: nothing is started, for this reason
};

RunAs decideRunAs(const ProcessIdentity& identity);

}  // namespace calidus
