#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "common/Edition.h"

namespace calidus {

// Where `--prometheus-textfile` puts the readings, and who hears of a failed write.
struct TextfileTarget {
    std::filesystem::path folder;
    std::function<void(const std::string& problem)> report;
};

// The node exporter's textfile collector reads the file while we write it, so every tick
// replaces it whole. A failed write is reported once until a write succeeds again, and never
// stops the monitoring.
class PrometheusTextfile {
  public:
    using Replace = std::function<bool(const std::filesystem::path&, std::string_view)>;

    PrometheusTextfile(const Edition& edition, TextfileTarget target, Replace replace);

    void publish(std::string_view text);
    const std::filesystem::path& file() const { return file_; }

  private:
    std::filesystem::path file_;
    std::function<void(const std::string&)> report_;
    Replace replace_;
    bool failing_ = false;
};

// What keeps the folder from taking the file, or empty when it can: checked at start, so a
// mistyped folder is a clear error rather than a silent gap in the metrics.
std::string textfileFolderProblem(const std::filesystem::path& folder);

}  // namespace calidus
