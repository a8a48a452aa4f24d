#include "platform/FallbackDriverLibrary.h"

#include <string_view>
#include <utility>

namespace calidus {

namespace {

constexpr std::string_view kReadOnlyNotice =
    "Showing the kernel's coretemp temperatures, read-only: no clock modulation, C1E, EIST, "
    "turbo or VID. For everything, allow the authentication or run as root.";

}  // namespace

FallbackDriverLibrary::FallbackDriverLibrary(
    std::unique_ptr<DriverLibrary> registers,
    std::function<std::unique_ptr<DriverLibrary>()> readOnly)
    : registers_(std::move(registers)), readOnly_(std::move(readOnly)) {}

void FallbackDriverLibrary::start() {
    registers_->start();
    if (registers_->status() == 0 && registers_->msrAvailable()) {
        return;
    }
    kernel_ = readOnly_();
    if (!kernel_) {
        return;
    }
    registers_->stop();
    const std::string why = registers_->takeNotice();
    notice_ = (why.empty() ? "" : why + "\n") + std::string(kReadOnlyNotice);
    kernel_->start();
}

std::string FallbackDriverLibrary::takeNotice() {
    std::string notice = std::exchange(notice_, {});
    return notice.empty() ? active().takeNotice() : notice;
}

}  // namespace calidus
