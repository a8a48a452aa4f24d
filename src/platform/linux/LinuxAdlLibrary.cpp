#include "platform/linux/LinuxAdlLibrary.h"

namespace calidus {

namespace {

constexpr int kNotLoaded = -1;

}  // namespace

LinuxAdlLibrary::LinuxAdlLibrary(LibraryLoader& loader, std::string libraryName,
                                 std::filesystem::path sysRoot)
    : library_(loader, std::move(libraryName)), files_(std::move(sysRoot)) {}

bool LinuxAdlLibrary::load() {
    if (library_.load()) {
        source_ = &library_;
    } else if (files_.load()) {
        source_ = &files_;
    } else {
        source_ = nullptr;
    }
    return source_ != nullptr;
}

int LinuxAdlLibrary::create() {
    return source_ == nullptr ? kNotLoaded : source_->create();
}

int LinuxAdlLibrary::adapterCount(int& count) {
    return source_ == nullptr ? kNotLoaded : source_->adapterCount(count);
}

int LinuxAdlLibrary::adapterNames(int count, std::vector<std::string>& names) {
    return source_ == nullptr ? kNotLoaded : source_->adapterNames(count, names);
}

int LinuxAdlLibrary::adapterId(int adapter, int& id) {
    return source_ == nullptr ? kNotLoaded : source_->adapterId(adapter, id);
}

int LinuxAdlLibrary::temperature(int adapter, int& millidegrees) {
    return source_ == nullptr ? kNotLoaded : source_->temperature(adapter, millidegrees);
}

int LinuxAdlLibrary::activity(int adapter, AdlActivity& activity) {
    return source_ == nullptr ? kNotLoaded : source_->activity(adapter, activity);
}

void LinuxAdlLibrary::unload() {
    if (source_ != nullptr) {
        source_->unload();
        source_ = nullptr;
    }
}

}  // namespace calidus
