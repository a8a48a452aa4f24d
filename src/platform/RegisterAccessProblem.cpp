#include "platform/RegisterAccessProblem.h"

namespace calidus {

std::string registerAccessNotice(RegisterAccessProblem problem) {
    switch (problem) {
        case RegisterAccessProblem::None:
            return {};
        case RegisterAccessProblem::NoDevices:
            return "The msr kernel module is not loaded and could not be loaded (modprobe msr).";
        case RegisterAccessProblem::DevicesRefused:
            return "The msr devices would not open.";
        case RegisterAccessProblem::Dismissed:
            return "Register access needs authentication, and it was dismissed.";
        case RegisterAccessProblem::NotAuthorised:
            return "Register access was not authorised, or no authentication agent is running.";
        case RegisterAccessProblem::LauncherMissing:
            return "Register access needs pkexec, which could not be started.";
        case RegisterAccessProblem::HelperMissing:
            return "The register helper calidus-msr is not installed; install the program, or "
                   "run it as root.";
        case RegisterAccessProblem::HelperFailed:
            return "The register helper calidus-msr failed.";
        case RegisterAccessProblem::WritesLocked:
            return "The kernel refuses register writes (lockdown): temperatures are shown, but "
                   "clock modulation, C1E, EIST and turbo cannot be switched.";
    }
    return {};
}

}  // namespace calidus
