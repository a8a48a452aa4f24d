#include "platform/DriverLibrary.h"

namespace calidus {

void DriverLibrary::readBatch(std::span<MsrRead> reads) {
    for (MsrRead& read : reads) {
        read.ok = readMsr(read.processor, read.index, read.low, read.high);
    }
}

}  // namespace calidus
