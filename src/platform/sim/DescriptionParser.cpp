#include "platform/sim/DescriptionParser.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>

#include "common/Text.h"

// The description is a profile file: [Machine], [Msr], [Msr.N], [TimedMsr], [Load] and [Gpu.N]
// sections of Key=Value lines, ';' starting a comment anywhere on a line. Keys and section names
// are matched regardless of case; values are trimmed. Numbers are decimal or 0x-hex; a comma list
// under [Msr] or in a GPU's Temperature gives successive reads, under [TimedMsr] and [Load]
// successive seconds ([Load] keys are logical processor numbers or All, values busy per cent). A
// key or section given twice, an unknown key or section, and any bad value refuse the whole
// description.
//
// Absent keys: Signature and ApicIds must be given. Otherwise Vendor GenuineIntel, no Brand (the
// highest extended leaf then stops short of the brand leaves), LogicalPerPackage the number of
// ApicIds (one package), CoresPerPackage equal to LogicalPerPackage (no hyper-threading), MaxLeaf
// 10, Dts, Sse3, MsrInstructions and MsrAvailable 1, TscMHz 2000, DriverStatus 0, nothing Missing,
// no LowestRatio.
// NvidiaLibrary and AtiLibrary are "present" when a card of that vendor is given, else "missing";
// "fails" loads the library but its start fails. A [Gpu.N] section must name its Vendor (nvidia or
// ati); its Temperature defaults to 50, Outputs to 1, Name, NvidiaDriver and the rest to nothing.
// Authentication none (none, granted, dismissed or refused), WritesLocked 0, Coretemp 0.

namespace calidus {

namespace {

constexpr std::size_t kBrandLength = 48;
constexpr std::size_t kVendorLength = 12;
constexpr std::size_t kGpuNameLength = 95;
constexpr std::size_t kMaxProcessors = 32;  // affinity masks are 32 bits

constexpr int kMaxGpus = 16;

const std::array<std::string_view, 21> kMachineKeys{
    "Vendor",
    "Brand",
    "Signature",
    "ApicIds",
    "LogicalPerPackage",
    "CoresPerPackage",
    "MaxLeaf",
    "Dts",
    "Sse3",
    "MsrInstructions",
    "TscMHz",
    "DriverStatus",
    "MsrAvailable",
    "Missing",
    "NvidiaLibrary",
    "AtiLibrary",
    "NvidiaDriver",
    "LowestRatio",
    "Authentication",
    "WritesLocked",
    "Coretemp",
};

const std::array<std::string_view, 10> kGpuKeys{"Vendor",    "Name",      "Temperature", "Memory",
                                                "LinkWidth", "CoreClock", "MemoryClock", "Voltage",
                                                "Outputs",   "Fails"};

// The per-card calls a description can make fail.
const std::array<std::string_view, 6> kGpuCalls{"temperature", "name",      "linkwidth",
                                                "memory",      "adapterid", "activity"};

struct Refusal {
    std::string message;
};

struct Entry {
    int line = 0;
    std::string key;
    std::string_view value;
};

[[noreturn]] void refuse(int line, std::string_view subject, std::string_view problem) {
    std::string message = line > 0 ? "line " + std::to_string(line) + ": " : std::string();
    throw Refusal{message.append(subject).append(": ").append(problem)};
}

[[noreturn]] void refuse(const Entry& entry, std::string_view problem) {
    refuse(entry.line, entry.key, problem);
}

std::optional<std::uint64_t> toUnsigned(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::uint64_t number(const Entry& entry, std::string_view text, std::uint64_t low,
                     std::uint64_t high) {
    const std::optional<std::uint64_t> value = toUnsigned(text);
    if (!value) {
        refuse(entry, "not a number: " + std::string(text));
    }
    if (*value < low || *value > high) {
        refuse(entry, "out of range " + std::to_string(low) + ".." + std::to_string(high) + ": " +
                          std::string(text));
    }
    return *value;
}

std::uint32_t number32(const Entry& entry, std::uint32_t low = 0,
                       std::uint32_t high = std::numeric_limits<std::uint32_t>::max()) {
    return static_cast<std::uint32_t>(number(entry, entry.value, low, high));
}

bool flag(const Entry& entry) {
    if (entry.value != "0" && entry.value != "1") {
        refuse(entry, "not 0 or 1: " + std::string(entry.value));
    }
    return entry.value == "1";
}

std::vector<std::string_view> commaList(std::string_view text) {
    std::vector<std::string_view> items;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        items.push_back(trimBlanks(text.substr(start, comma - start)));
        if (comma == std::string_view::npos) {
            return items;
        }
        start = comma + 1;
    }
}

// Above low (or from it, when allowed) up to high.
double decimal(const Entry& entry, std::string_view text, double low, double high,
               bool lowAllowed = false) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        refuse(entry, "not a number: " + std::string(text));
    }
    if (!std::isfinite(value) || value < low || (value == low && !lowAllowed) || value > high) {
        refuse(entry, "out of range " + fixedText(low, 0) + ".." + fixedText(high, 0) + ": " +
                          std::string(text));
    }
    return value;
}

double megahertz(const Entry& entry) {
    return decimal(entry, entry.value, 0.0, 100000.0);
}

// Busy per cent of successive seconds.
std::vector<double> loadScript(const Entry& entry) {
    std::vector<double> script;
    for (std::string_view item : commaList(entry.value)) {
        script.push_back(decimal(entry, item, 0.0, 100.0, true));
    }
    return script;
}

std::string text(const Entry& entry, std::size_t longest) {
    if (entry.value.size() > longest) {
        refuse(entry, "longer than " + std::to_string(longest) + " characters");
    }
    return std::string(entry.value);
}

Authentication authentication(const Entry& entry) {
    constexpr std::array<std::pair<std::string_view, Authentication>, 4> kAnswers{{
        {"none", Authentication::NotAsked},
        {"granted", Authentication::Granted},
        {"dismissed", Authentication::Dismissed},
        {"refused", Authentication::Refused},
    }};
    for (const auto& [word, answer] : kAnswers) {
        if (equalsIgnoringCase(entry.value, word)) {
            return answer;
        }
    }
    refuse(entry, "not none, granted, dismissed or refused: " + std::string(entry.value));
}

std::vector<std::uint32_t> apicIds(const Entry& entry) {
    std::vector<std::uint32_t> ids;
    for (std::string_view item : commaList(entry.value)) {
        const auto id = static_cast<std::uint32_t>(number(entry, item, 0, 255));
        if (std::find(ids.begin(), ids.end(), id) != ids.end()) {
            refuse(entry, "APIC id " + std::to_string(id) + " given twice");
        }
        ids.push_back(id);
    }
    if (ids.size() > kMaxProcessors) {
        refuse(entry, "more than " + std::to_string(kMaxProcessors) + " logical processors");
    }
    return ids;
}

std::set<std::uint32_t> registerIndices(const Entry& entry) {
    std::set<std::uint32_t> indices;
    if (!entry.value.empty()) {
        for (std::string_view item : commaList(entry.value)) {
            indices.insert(static_cast<std::uint32_t>(number(entry, item, 0, 0xFFFFFFFF)));
        }
    }
    return indices;
}

RegisterScript registerScript(const Entry& entry) {
    RegisterScript script;
    for (std::string_view item : commaList(entry.value)) {
        script.push_back(number(entry, item, 0, std::numeric_limits<std::uint64_t>::max()));
    }
    return script;
}

// Collects the lines, then turns them into a description.
class DescriptionReader {
  public:
    MachineDescription read(std::string_view text) {
        int line = 0;
        for (std::size_t start = 0; start <= text.size(); ++line) {
            const std::size_t end = std::min(text.find('\n', start), text.size());
            readLine(line + 1, text.substr(start, end - start));
            start = end + 1;
        }
        return describe();
    }

  private:
    enum class Section { None, Machine, Msr, Load, Gpu };
    using Entries = std::map<std::string, Entry>;

    void readLine(int line, std::string_view raw) {
        const std::string_view content = trimBlanks(raw.substr(0, raw.find(';')));
        if (content.empty()) {
            return;
        }
        if (content.front() == '[') {
            openSection(line, content);
            return;
        }
        const std::size_t equals = content.find('=');
        if (equals == std::string_view::npos) {
            refuse(line, content, "not a Key=Value line");
        }
        Entry entry{line, std::string(trimBlanks(content.substr(0, equals))),
                    trimBlanks(content.substr(equals + 1))};
        switch (section_) {
            case Section::None:
                refuse(entry, "outside a section");
            case Section::Machine:
                addKey(machine_, kMachineKeys, std::move(entry));
                return;
            case Section::Gpu:
                addKey(*gpuEntries_, kGpuKeys, std::move(entry));
                return;
            case Section::Msr:
                addRegister(entry);
                return;
            case Section::Load:
                addLoad(entry);
                return;
        }
    }

    void openSection(int line, std::string_view header) {
        if (header.back() != ']') {
            refuse(line, header, "not a section header");
        }
        const std::string_view name = trimBlanks(header.substr(1, header.size() - 2));
        std::string subject = "[";
        subject.append(name).append("]");
        std::string canonical;
        if (equalsIgnoringCase(name, "Machine")) {
            section_ = Section::Machine;
            canonical = "Machine";
        } else if (equalsIgnoringCase(name, "Msr")) {
            section_ = Section::Msr;
            registers_ = &description_.msr;
            canonical = "Msr";
        } else if (equalsIgnoringCase(name, "TimedMsr")) {
            section_ = Section::Msr;
            registers_ = &description_.timedMsr;
            canonical = "TimedMsr";
        } else if (equalsIgnoringCase(name, "Load")) {
            section_ = Section::Load;
            canonical = "Load";
        } else if (name.size() > 4 && equalsIgnoringCase(name.substr(0, 4), "Msr.")) {
            const std::optional<std::uint64_t> processor = toUnsigned(name.substr(4));
            if (!processor || *processor >= kMaxProcessors) {
                refuse(line, subject, "not a logical processor number");
            }
            const int index = static_cast<int>(*processor);
            section_ = Section::Msr;
            registers_ = &description_.msrOverrides[index];
            overrideLines_[index] = line;
            canonical = "Msr." + std::to_string(index);
        } else if (name.size() > 4 && equalsIgnoringCase(name.substr(0, 4), "Gpu.")) {
            const std::optional<std::uint64_t> gpu = toUnsigned(name.substr(4));
            if (!gpu || *gpu >= kMaxGpus) {
                refuse(line, subject, "not a GPU number below " + std::to_string(kMaxGpus));
            }
            const int index = static_cast<int>(*gpu);
            section_ = Section::Gpu;
            gpuEntries_ = &gpus_[index];
            gpuLines_[index] = line;
            canonical = "Gpu." + std::to_string(index);
        } else {
            refuse(line, subject, "unknown section");
        }
        if (!sections_.insert(canonical).second) {
            refuse(line, subject, "section given twice");
        }
    }

    template <std::size_t N>
    static void addKey(Entries& entries, const std::array<std::string_view, N>& keys, Entry entry) {
        const auto known = std::find_if(keys.begin(), keys.end(), [&](std::string_view key) {
            return equalsIgnoringCase(key, entry.key);
        });
        if (known == keys.end()) {
            refuse(entry, "unknown key");
        }
        entry.key = std::string(*known);
        const auto [at, added] = entries.emplace(entry.key, entry);
        if (!added) {
            refuse(entry, "given twice (first on line " + std::to_string(at->second.line) + ")");
        }
    }

    void addRegister(const Entry& entry) {
        const Entry asIndex{entry.line, entry.key, entry.key};
        const auto index = static_cast<std::uint32_t>(number32(asIndex));
        if (!registers_->emplace(index, registerScript(entry)).second) {
            refuse(entry, "given twice");
        }
    }

    const Entry* given(std::string_view key) const { return givenIn(machine_, key); }

    static const Entry* givenIn(const Entries& entries, std::string_view key) {
        const auto it = entries.find(std::string(key));
        return it == entries.end() ? nullptr : &it->second;
    }

    static int numberIn(const Entries& entries, std::string_view key, int fallback, int low,
                        int high) {
        const Entry* entry = givenIn(entries, key);
        return entry == nullptr ? fallback
                                : static_cast<int>(number(*entry, entry->value, low, high));
    }

    static GpuDescription gpu(int line, const Entries& entries) {
        GpuDescription g;
        const Entry* vendor = givenIn(entries, "Vendor");
        if (vendor == nullptr) {
            refuse(line, "Vendor", "not given; every [Gpu.N] names nvidia or ati");
        }
        if (equalsIgnoringCase(vendor->value, "nvidia")) {
            g.vendor = GpuVendor::Nvidia;
        } else if (equalsIgnoringCase(vendor->value, "ati")) {
            g.vendor = GpuVendor::Ati;
        } else {
            refuse(*vendor, "not nvidia or ati: " + std::string(vendor->value));
        }
        if (const Entry* name = givenIn(entries, "Name")) {
            g.name = text(*name, kGpuNameLength);
        }
        g.temperatures = {50};
        if (const Entry* script = givenIn(entries, "Temperature")) {
            g.temperatures.clear();
            for (std::string_view item : commaList(script->value)) {
                g.temperatures.push_back(static_cast<int>(number(*script, item, 0, 255)));
            }
        }
        g.memoryMegabytes = numberIn(entries, "Memory", 0, 0, 1 << 20);
        g.linkWidth = numberIn(entries, "LinkWidth", 0, 0, 32);
        g.coreClockMHz = numberIn(entries, "CoreClock", 0, 0, 100000);
        g.memoryClockMHz = numberIn(entries, "MemoryClock", 0, 0, 100000);
        g.voltageMillivolts = numberIn(entries, "Voltage", 0, 0, 5000);
        g.outputs = numberIn(entries, "Outputs", 1, 1, 8);
        if (const Entry* fails = givenIn(entries, "Fails")) {
            for (std::string_view item : commaList(fails->value)) {
                const auto call = std::find_if(
                    kGpuCalls.begin(), kGpuCalls.end(),
                    [&](std::string_view known) { return equalsIgnoringCase(known, item); });
                if (call == kGpuCalls.end()) {
                    refuse(*fails, "not a GPU call: " + std::string(item));
                }
                g.failing.insert(std::string(*call));
            }
        }
        return g;
    }

    GpuLibraryState library(std::string_view key, GpuVendor vendor) const {
        const Entry* state = given(key);
        if (state == nullptr) {
            const bool card =
                std::any_of(description_.gpus.begin(), description_.gpus.end(),
                            [&](const GpuDescription& g) { return g.vendor == vendor; });
            return card ? GpuLibraryState::Present : GpuLibraryState::Missing;
        }
        if (equalsIgnoringCase(state->value, "present")) {
            return GpuLibraryState::Present;
        }
        if (equalsIgnoringCase(state->value, "missing")) {
            return GpuLibraryState::Missing;
        }
        if (equalsIgnoringCase(state->value, "fails")) {
            return GpuLibraryState::Failing;
        }
        refuse(*state, "not present, missing or fails: " + std::string(state->value));
    }

    void addLoad(const Entry& entry) {
        if (equalsIgnoringCase(entry.key, "All")) {
            if (!description_.loadOfAll.empty()) {
                refuse(entry, "given twice");
            }
            description_.loadOfAll = loadScript(entry);
            return;
        }
        const Entry asProcessor{entry.line, entry.key, entry.key};
        const auto processor =
            static_cast<int>(number(asProcessor, entry.key, 0, kMaxProcessors - 1));
        if (!description_.load.emplace(processor, loadScript(entry)).second) {
            refuse(entry, "given twice");
        }
        loadLines_[processor] = entry.line;
    }

    MachineDescription describe() {
        MachineDescription& d = description_;
        const Entry* ids = given("ApicIds");
        if (ids == nullptr) {
            refuse(0, "ApicIds", "not given; every description lists its logical processors");
        }
        const Entry* signature = given("Signature");
        if (signature == nullptr) {
            refuse(0, "Signature", "not given");
        }
        d.apicIds = apicIds(*ids);
        d.signature = number32(*signature);
        d.vendor = given("Vendor") ? text(*given("Vendor"), kVendorLength) : "GenuineIntel";
        d.brand = given("Brand") ? text(*given("Brand"), kBrandLength) : "";
        d.logicalPerPackage = given("LogicalPerPackage")
                                  ? number32(*given("LogicalPerPackage"), 1, 255)
                                  : static_cast<std::uint32_t>(d.apicIds.size());
        d.coresPerPackage = d.logicalPerPackage;
        if (const Entry* cores = given("CoresPerPackage")) {
            d.coresPerPackage = number32(*cores, 1, 64);
            if (d.coresPerPackage > d.logicalPerPackage) {
                refuse(*cores, "more cores than LogicalPerPackage");
            }
        }
        d.maxLeaf = given("MaxLeaf") ? number32(*given("MaxLeaf")) : 10;
        d.dts = given("Dts") ? flag(*given("Dts")) : true;
        d.sse3 = given("Sse3") ? flag(*given("Sse3")) : true;
        d.msrInstructions = given("MsrInstructions") ? flag(*given("MsrInstructions")) : true;
        d.tscMHz = given("TscMHz") ? megahertz(*given("TscMHz")) : 2000.0;
        d.driverStatus = given("DriverStatus") ? number32(*given("DriverStatus")) : 0;
        d.msrAvailable = given("MsrAvailable") ? flag(*given("MsrAvailable")) : true;
        if (const Entry* answer = given("Authentication")) {
            d.authentication = authentication(*answer);
        }
        d.writesLocked = given("WritesLocked") ? flag(*given("WritesLocked")) : false;
        d.coretemp = given("Coretemp") ? flag(*given("Coretemp")) : false;
        if (const Entry* missing = given("Missing")) {
            d.missing = registerIndices(*missing);
        }
        for (const auto& [index, entries] : gpus_) {
            d.gpus.push_back(gpu(gpuLines_.at(index), entries));
        }
        d.nvidiaLibrary = library("NvidiaLibrary", GpuVendor::Nvidia);
        d.atiLibrary = library("AtiLibrary", GpuVendor::Ati);
        d.nvidiaDriver = given("NvidiaDriver") ? text(*given("NvidiaDriver"), kGpuNameLength) : "";
        if (const Entry* lowest = given("LowestRatio")) {
            d.lowestRatio = decimal(*lowest, lowest->value, 0.0, 255.0);
        }
        for (const auto& [processor, line] : loadLines_) {
            if (processor >= d.processorCount()) {
                refuse(line, std::to_string(processor),
                       "no logical processor " + std::to_string(processor));
            }
        }
        for (const auto& [processor, line] : overrideLines_) {
            if (processor >= d.processorCount()) {
                refuse(line, "[Msr." + std::to_string(processor) + "]",
                       "no logical processor " + std::to_string(processor));
            }
        }
        return d;
    }

    MachineDescription description_;
    Section section_ = Section::None;
    RegisterFile* registers_ = nullptr;
    std::set<std::string> sections_;
    Entries machine_;
    std::map<int, int> overrideLines_;  // processor -> line of its section
    std::map<int, Entries> gpus_;       // by section number
    std::map<int, int> gpuLines_;       // section number -> line of its section
    Entries* gpuEntries_ = nullptr;
    std::map<int, int> loadLines_;  // processor -> line of its load
};

}  // namespace

DescriptionParse parseMachineDescription(std::string_view text) {
    try {
        return {DescriptionReader().read(text), {}};
    } catch (const Refusal& refusal) {
        return {std::nullopt, refusal.message};
    }
}

}  // namespace calidus
