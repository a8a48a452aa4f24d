#include "record/PrometheusTextfile.h"

#include <fstream>
#include <system_error>
#include <utility>

#include "record/PrometheusText.h"

namespace calidus {

PrometheusTextfile::PrometheusTextfile(const Edition& edition, TextfileTarget target,
                                       Replace replace)
    : file_(target.folder / prometheusFileName(edition)),
      report_(std::move(target.report)),
      replace_(std::move(replace)) {}

void PrometheusTextfile::publish(std::string_view text) {
    if (replace_(file_, text)) {
        failing_ = false;
        return;
    }
    if (!failing_ && report_) {
        report_("cannot write " + file_.string() + "; trying again at every tick");
    }
    failing_ = true;
}

std::string textfileFolderProblem(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return "the folder " + folder.string() + " does not exist";
    }
    // Writable is what counts, and only a file made there says so for every kind of mount.
    const std::filesystem::path probe = folder / ".calidus-write-test";
    bool writable = false;
    {
        std::ofstream out(probe, std::ios::binary | std::ios::trunc);
        writable = static_cast<bool>(out << "\n") && static_cast<bool>(out.flush());
    }
    std::filesystem::remove(probe, error);
    return writable ? std::string{} : "the folder " + folder.string() + " is not writable";
}

}  // namespace calidus
