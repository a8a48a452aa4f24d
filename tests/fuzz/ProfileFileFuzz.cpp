// libFuzzer target: any bytes as a settings file must read, correct and write back without
// a crash, and writing a key must leave the rest of the file readable as before.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/Edition.h"
#include "config/ProfileFile.h"
#include "config/SettingsReader.h"

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace calidus;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    ProfileFile file = ProfileFile::parse(input);
    require(file.contents() == input);

    StartupInputs inputs;
    inputs.processor.brandString = "Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz";
    inputs.processor.cpuSignature = 0x106A5;
    inputs.gpu.ati = size % 2 == 0;
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        const StartupSettings loaded = loadSettings(file, *edition, inputs);
        require(loaded.settings.quality >= 0 && loaded.settings.quality <= 3);
        require(loaded.settings.clockMod >= 1 && loaded.settings.clockMod <= 30);
        require(86400 % loaded.settings.logInterval == 0);
        for (int n = 0; n < 8; ++n) {
            require(loaded.cores.idle[n] >= -199 && loaded.cores.idle[n] <= 99);
        }
    }

    const std::string before = file.readText(kSettingsSection, "Fahrenheit");
    const std::string_view value = input.substr(input.size() > 16 ? input.size() - 16 : 0);
    file.write(kSettingsSection, "IconShow", value);
    const ProfileFile reread = ProfileFile::parse(file.contents());
    const std::string_view written = value.substr(0, value.find_first_of("\r\n"));
    require(reread.find(kSettingsSection, "IconShow") == trimmed(written));
    require(reread.readText(kSettingsSection, "Fahrenheit") == before);
    return 0;
}
