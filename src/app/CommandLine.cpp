#include "app/CommandLine.h"

#include <charconv>

namespace calidus {

namespace {

bool parseTicks(const std::string& text, long long& ticks) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, ticks);
    return ec == std::errc() && ptr == end && ticks > 0;
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    ParsedCommandLine parsed;
    CommandLine& options = parsed.options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--simulate") {
            if (!hasValue) {
                parsed.error = "--simulate needs a model name or a description file";
                return parsed;
            }
            options.simulate = arguments[++i];
        } else if (argument == "--ticks") {
            long long ticks = 0;
            if (!hasValue || !parseTicks(arguments[i + 1], ticks)) {
                parsed.error = "--ticks needs a positive whole number";
                return parsed;
            }
            options.ticks = ticks;
            ++i;
        } else if (argument == "--prometheus-textfile") {
            if (!hasValue || arguments[i + 1].empty()) {
                parsed.error = "--prometheus-textfile needs a folder";
                return parsed;
            }
            options.prometheusTextfile = arguments[++i];
        } else if (argument == "--console") {
            options.frontEnd = FrontEnd::Console;
        } else if (argument == "--json") {
            options.frontEnd = FrontEnd::Json;
        } else if (argument == "--bench") {
            options.bench = true;
        } else if (argument == "--list-models") {
            options.listModels = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else {
            parsed.error = "unknown argument: " + argument;
            return parsed;
        }
    }
    return parsed;
}

std::string usageText(std::string_view programName, const std::filesystem::path& settingsFile) {
    std::string text = "Usage: ";
    text += programName;
    text +=
        " [options]\n"
        "  --simulate NAME|FILE  run on a simulated machine (a built-in model or a description)\n"
        "  --list-models         list the built-in simulated models\n"
        "  --console             print each tick as text instead of opening the window\n"
        "  --json                print each tick as one JSON object per line\n"
        "  --ticks N             stop after N ticks\n"
        "  --bench               run the benchmark without the window, print its result\n"
        "                        (with --json as one JSON object) and exit\n"
        "  --prometheus-textfile DIR\n"
        "                        after every tick write the readings to DIR/calidus.prom\n"
        "                        (CalidusXL: calidusxl.prom) for the node exporter\n"
        "  --help                show this text\n"
        "  --version             show the version\n"
        "Exit status: 0 after a normal end (ticks done, a stop signal, the window closed);\n"
        "with --console, --json or --bench: 2 usage, 3 processor not supported, 4 no register "
        "access,\n"
        "5 output closed, 6 settings not saved, 7 benchmark checksum failed.\n"
        "Settings file: ";
    text += settingsFileText(settingsFile);
    text += "\n";
    return text;
}

std::string settingsFileText(const std::filesystem::path& settingsFile) {
    return settingsFile.empty()
               ? "none (the program's folder is unknown, or HOME is not an absolute path)"
               : settingsFile.string();
}

}  // namespace calidus
