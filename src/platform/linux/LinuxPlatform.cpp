#include "platform/linux/LinuxPlatform.h"

namespace calidus {

Platform makeLinuxPlatform() { return {}; }

}  // namespace calidus
