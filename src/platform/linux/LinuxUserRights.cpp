#include <unistd.h>

#include "platform/UserRights.h"

namespace calidus {

bool runningAsRoot() {
    return geteuid() == 0;
}

}  // namespace calidus
