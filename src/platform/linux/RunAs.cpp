#include "platform/linux/RunAs.h"

#include "platform/ProcessLauncher.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <charconv>
#include <cstddef>

extern char** environ;

namespace calidus {

namespace {

constexpr std::string_view kSafePath = "PATH=/usr/local/bin:/usr/bin:/bin";
// Passed on from our environment to a program started for the invoking user: what places it
// on the user's desktop, none of what changes how programs load or run.
constexpr std::string_view kDesktopVariables[] = {"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY",
                                                  "LANG",    "LC_ALL",          "LANGUAGE"};

std::optional<std::string> valueOf(const std::vector<std::string>& environment,
                                   std::string_view name) {
    for (const std::string& entry : environment) {
        if (entry.size() > name.size() && entry.starts_with(name) && entry[name.size()] == '=') {
            return entry.substr(name.size() + 1);
        }
    }
    return std::nullopt;
}

std::optional<uid_t> userNumber(const std::optional<std::string>& text) {
    if (!text || text->empty()) {
        return std::nullopt;
    }
    uid_t uid = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), uid);
    if (error != std::errc() || end != text->data() + text->size()) {
        return std::nullopt;
    }
    return uid;
}

std::optional<UserAccount> accountOf(uid_t uid) {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) {
        return std::nullopt;
    }
    UserAccount account{.uid = entry.pw_uid,
                        .gid = entry.pw_gid,
                        .name = entry.pw_name,
                        .home = entry.pw_dir,
                        .groups = {}};
    int count = 32;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    while (getgrouplist(entry.pw_name, entry.pw_gid, groups.data(), &count) < 0) {
        groups.resize(static_cast<std::size_t>(count) * 2);
        count = static_cast<int>(groups.size());
    }
    groups.resize(static_cast<std::size_t>(count));
    account.groups = std::move(groups);
    return account;
}

// The user's session bus and runtime folder are found where systemd puts them when ours are
// not that user's.
std::vector<std::string> userEnvironment(const UserAccount& user,
                                         const std::vector<std::string>& ours) {
    const std::string runtime = "/run/user/" + std::to_string(user.uid);
    std::vector<std::string> environment{"HOME=" + user.home, "USER=" + user.name,
                                         "LOGNAME=" + user.name, std::string(kSafePath)};
    for (const std::string_view name : kDesktopVariables) {
        if (const auto value = valueOf(ours, name)) {
            environment.push_back(std::string(name) + "=" + *value);
        }
    }
    const auto ourRuntime = valueOf(ours, "XDG_RUNTIME_DIR");
    const bool runtimeIsTheUsers = ourRuntime == runtime;
    environment.push_back("XDG_RUNTIME_DIR=" + runtime);
    const auto bus = valueOf(ours, "DBUS_SESSION_BUS_ADDRESS");
    environment.push_back("DBUS_SESSION_BUS_ADDRESS=" +
                          (runtimeIsTheUsers && bus ? *bus : "unix:path=" + runtime + "/bus"));
    return environment;
}

}  // namespace

ProcessIdentity thisProcess() {
    ProcessIdentity identity{.root = geteuid() == 0, .environment = {}, .account = accountOf};
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        identity.environment.emplace_back(*entry);
    }
    return identity;
}

RunAs decideRunAs(const ProcessIdentity& identity) {
    if (!identity.root) {
        // Hooks of the dynamic loader were meant for us, if for anyone, not for what we start.
        RunAs run;
        for (const std::string& entry : identity.environment) {
            if (!entry.starts_with("LD_")) {
                run.environment.push_back(entry);
            }
        }
        return run;
    }
    std::optional<uid_t> invoking = userNumber(valueOf(identity.environment, "PKEXEC_UID"));
    if (!invoking) {
        invoking = userNumber(valueOf(identity.environment, "SUDO_UID"));
    }
    std::optional<UserAccount> user;
    if (invoking && *invoking != 0 && identity.account) {
        user = identity.account(*invoking);
    }
    if (!user) {
        return {.user = std::nullopt, .environment = {}, .refusal = std::string(kNotStartedAsRoot)};
    }
    RunAs run{.user = std::nullopt,
              .environment = userEnvironment(*user, identity.environment),
              .refusal = {}};
    run.user = std::move(user);
    return run;
}

}  // namespace calidus
