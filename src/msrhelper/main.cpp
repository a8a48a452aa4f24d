// calidus-msr: the register helper that the programs start through pkexec when they are not
// root. Its device root and module loaders are fixed when it is built; it reads no argument,
// no environment variable and no file but the msr devices.

#include "msrhelper/HelperPaths.h"
#include "msrhelper/HelperServer.h"
#include "msrhelper/MsrGate.h"
#include "platform/linux/msr/FdChannel.h"
#include "platform/linux/msr/HelperSignals.h"
#include "platform/linux/msr/MsrDeviceFiles.h"
#include "platform/linux/msr/MsrModuleLoader.h"

int main() {
    using namespace calidus;
    ignoreTerminalSignals();
    MsrDeviceFiles devices{std::string(kHelperDeviceRoot)};
    if (devices.usability() == MsrStatus::NoDevices && loadMsrModule(kHelperModuleLoaders)) {
        devices.scan();
    }
    MsrGate gate(devices);
    FdChannel channel(0, 1);
    return HelperServer(channel, gate, devices.usability(), devices.found()).run();
}
