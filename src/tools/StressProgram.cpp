#include "tools/StressProgram.h"

namespace calidus {

std::vector<std::string> stressArguments(const std::filesystem::path& program) {
    const std::string name = program.filename().string();
    if (name == "mprime") {
        return {"-t"};
    }
    if (name == "stress-ng") {
        return {"--cpu", "0"};
    }
    return {};
}

bool StressProgram::start(const std::filesystem::path& program, std::uint32_t systemMask) {
    end();
    if (launcher_ == nullptr) {
        return false;
    }
    process_ = launcher_->start(program, stressArguments(program));
    if (process_) {
        launcher_->setAffinity(*process_, systemMask);
    }
    return started();
}

bool StressProgram::alive() {
    if (process_ && !launcher_->running(*process_)) {
        process_.reset();
    }
    return started();
}

void StressProgram::end() {
    if (process_) {
        launcher_->end(*process_, kEndGrace);
        process_.reset();
    }
}

}  // namespace calidus
