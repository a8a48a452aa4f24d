#include "platform/linux/LinuxDriverLibrary.h"

#include <unistd.h>

#include <array>
#include <string_view>
#include <utility>

#include "common/Registers.h"
#include "platform/linux/HelperRegisters.h"
#include "platform/linux/InProcessRegisters.h"
#include "platform/linux/msr/MsrModuleLoader.h"

namespace calidus {

namespace {

using msr::kTimeStampCounter;
constexpr std::string_view kPkexec = "/usr/bin/pkexec";
constexpr std::array<std::string_view, 2> kModuleLoaders{"/sbin/modprobe", "/usr/sbin/modprobe"};

HelperRecord request(HelperOperation operation, std::uint32_t processor, std::uint32_t index) {
    HelperRecord record;
    record.operation = operation;
    record.processor = processor;
    record.index = index;
    return record;
}

}  // namespace

LinuxDriverLibrary::LinuxDriverLibrary(std::unique_ptr<RegisterPath> path)
    : path_(std::move(path)) {}

std::unique_ptr<LinuxDriverLibrary> LinuxDriverLibrary::forThisUser() {
    if (geteuid() == 0) {
        return std::make_unique<LinuxDriverLibrary>(std::make_unique<InProcessRegisters>(
            "/dev/cpu", [] { return loadMsrModule(kModuleLoaders); }));
    }
    return std::make_unique<LinuxDriverLibrary>(
        std::make_unique<HelperRegisters>(std::string(kPkexec), CALIDUS_MSR_HELPER));
}

void LinuxDriverLibrary::start() {
    if (started_) {
        return;
    }
    started_ = true;
    problem_ = path_->open();
    open_ = problem_ == RegisterAccessProblem::None;
    notice_ = registerAccessNotice(problem_);
}

std::uint32_t LinuxDriverLibrary::status() {
    start();
    switch (problem_) {
        case RegisterAccessProblem::None:
            return kUsable;
        case RegisterAccessProblem::NoDevices:
            return kNoDevice;
        default:
            return kDeviceRefused;
    }
}

bool LinuxDriverLibrary::msrAvailable() {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    return readMsr(0, kTimeStampCounter, low, high);
}

bool LinuxDriverLibrary::readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                                 std::uint32_t& high) {
    HelperRecord record = request(HelperOperation::Read, processor, index);
    if (!succeeded(access(record))) {
        return false;
    }
    low = record.low;
    high = record.high;
    return true;
}

bool LinuxDriverLibrary::writeMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t low,
                                  std::uint32_t high) {
    HelperRecord record = request(HelperOperation::Write, processor, index);
    record.low = low;
    record.high = high;
    const MsrStatus status = access(record);
    if (status == MsrStatus::WritesLocked && !writesLockedSaid_) {
        writesLockedSaid_ = true;
        notice_ = registerAccessNotice(RegisterAccessProblem::WritesLocked);
    }
    return succeeded(status);
}

void LinuxDriverLibrary::readBatch(std::span<MsrRead> reads) {
    batch_.clear();
    for (const MsrRead& read : reads) {
        batch_.push_back(request(HelperOperation::Read, read.processor, read.index));
    }
    exchange(batch_);
    for (std::size_t n = 0; n < reads.size(); ++n) {
        reads[n].ok = succeeded(batch_[n].status);
        if (reads[n].ok) {
            reads[n].low = batch_[n].low;
            reads[n].high = batch_[n].high;
        }
    }
}

void LinuxDriverLibrary::stop() {
    if (open_) {
        open_ = false;
        path_->close();
    }
}

std::string LinuxDriverLibrary::takeNotice() {
    return std::exchange(notice_, {});
}

MsrStatus LinuxDriverLibrary::access(HelperRecord& record) {
    exchange({&record, 1});
    return record.status;
}

void LinuxDriverLibrary::exchange(std::span<HelperRecord> records) {
    if (!open_) {
        for (HelperRecord& record : records) {
            record.status = MsrStatus::DeviceUnavailable;
        }
        return;
    }
    if (!path_->exchange(records)) {
        open_ = false;
        notice_ = registerAccessNotice(RegisterAccessProblem::HelperFailed) +
                  " The registers are no longer read; restart the program to read them again.";
    }
}

}  // namespace calidus
