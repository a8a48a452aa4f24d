#pragma once

#include <string>

namespace calidus {

// Why the registers are not (fully) usable, as far as the person can do something about it.
enum class RegisterAccessProblem {
    None,
    NoDevices,        // no msr device, even after loading the module
    DevicesRefused,   // the devices exist but would not open
    Dismissed,        // pkexec: the authentication dialog was dismissed (exit 126)
    NotAuthorised,    // pkexec: not authorised, or no authentication agent (exit 127)
    LauncherMissing,  // pkexec could not be started
    HelperMissing,    // the register helper is not installed where the program looks
    HelperFailed,     // the helper ended without greeting, or said something else
    WritesLocked,     // the kernel refuses register writes; reads still work
};

// One line for the person: what happened and how to get register access.
std::string registerAccessNotice(RegisterAccessProblem problem);

}  // namespace calidus
