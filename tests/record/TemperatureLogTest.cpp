#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <functional>
#include <regex>

#include "app/EngineRig.h"
#include "platform/linux/LinuxCommandRunner.h"
#include "record/LogBuffer.h"

namespace calidus {
namespace {

using testing::EngineRig;
using testing::TempFolder;

constexpr std::time_t kMidnight = 1'699'920'000;  // a multiple of 86400: 00:00:00 local

// Runs ticks one second apart from the given second of the day on.
void runSeconds(EngineRig& rig, int from, int to, const std::function<void(int)>& after = {}) {
    for (int second = from; second <= to; ++second) {
        rig.machine.now = kMidnight + second;
        rig.engine->runTick();
        if (after) {
            after(second);
        }
    }
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        result.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        start = end == std::string::npos ? text.size() : end + 2;
    }
    return result;
}

TEST(TemperatureLog, RowsFallOnTheIntervalAndReachTheDiskOnHdWriteSeconds) {
    struct Case {
        int interval;
        int hdWrite;
        int seconds;
        std::vector<int> writes;  // the seconds at which the file grew
        std::size_t rows;         // after shutdown
    };
    for (const Case& c : {Case{5, 60, 130, {60, 120}, 26}, Case{45, 60, 400, {180, 360}, 8}}) {
        EngineRig rig(Edition::standard(), "LogFile=1\nLogInterval=" + std::to_string(c.interval) +
                                               "\nHDWrite=" + std::to_string(c.hdWrite) + "\n");
        ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
        const std::filesystem::path file = rig.logFolder / "CalidusLog.txt";
        std::vector<int> writes;
        std::vector<std::size_t> rowsPerWrite;
        std::size_t rowsBefore = 0;
        runSeconds(rig, 1, c.seconds, [&](int second) {
            const std::size_t rows = lines(TempFolder::read(file)).size();
            if (rows != rowsBefore) {
                writes.push_back(second);
                rowsPerWrite.push_back(rows - std::max<std::size_t>(rowsBefore, 1));
                rowsBefore = rows;
            }
        });
        EXPECT_EQ(writes, c.writes) << c.interval;
        if (c.interval == 5) {
            EXPECT_EQ(rowsPerWrite, (std::vector<std::size_t>{12, 12}));
        }
        rig.engine->shutdown();
        EXPECT_EQ(lines(TempFolder::read(file)).size(), c.rows + 1) << c.interval;
    }
}

TEST(TemperatureLog, FileBytesAreFixedWhateverTheLocaleAndASecondRunAppends) {
    struct Case {
        const Edition& edition;
        bool csv;
        std::string name;
        std::string header;
        std::string row;  // at 00:00:0N, N filled in
    };
    const char* decimalComma = std::setlocale(LC_ALL, "de_DE.UTF-8");
    for (const Case& c : {
             Case{Edition::standard(), false, "CalidusLog.txt",
                  "  DATE     TIME     MHz   C0 C1 C2 C3 LOAD%",
                  "01/01/24 00:00:0N 0.00 45 45 45 45 0.0"},
             Case{Edition::standard(), true, "CalidusLog.csv",
                  "DATE,TIME,MHz,CPU_0,CPU_1,CPU_2,CPU_3,LOAD%",
                  "01/01/24,00:00:0N,0.00,45,45,45,45,0.0"},
             Case{Edition::xl(), false, "CalidusLog.txt",
                  "  DATE     TIME     MHz   C0 C1 C2 C4 C5 C6 LOAD%",
                  "01/01/24 00:00:0N 0.00 45 45 45 45 45 45 0.0"},
             Case{Edition::xl(), true, "CalidusLog.csv",
                  "DATE,TIME,MHz,CPU_0,CPU_1,CPU_2,CPU_4,CPU_5,CPU_6,LOAD%",
                  "01/01/24,00:00:0N,0.00,45,45,45,45,45,45,0.0"},
         }) {
        EngineRig rig(c.edition, std::string("LogFile=1\nLogInterval=1\nHDWrite=1\nCSV=") +
                                     (c.csv ? "1" : "0") + "\n");
        for (int run = 1; run <= 2; ++run) {
            ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
            runSeconds(rig, run, run);
            rig.engine->shutdown();
            rig.construct();
        }
        std::string expected = c.header + "\r\n";
        for (const char n : {'1', '2'}) {
            std::string row = c.row;
            row[row.find('N')] = n;
            expected += row + "\r\n";
        }
        EXPECT_EQ(TempFolder::read(rig.logFolder / c.name), expected) << c.name;
    }
    if (decimalComma != nullptr) {
        std::setlocale(LC_ALL, "C");
    }
}

// The log's folder on a tmpfs of its own when the test may mount one (root), else a plain
// temporary folder.
class LogStorage {
  public:
    LogStorage() {
        mounted_ = runner_.run({"mount", "-t", "tmpfs", "-o", "size=64k,mode=0755", "tmpfs",
                                folder_.path().string()}) == 0;
    }
    ~LogStorage() {
        if (mounted_) {
            runner_.run({"umount", folder_.path().string()});
        }
    }
    LogStorage(const LogStorage&) = delete;
    LogStorage& operator=(const LogStorage&) = delete;

    const std::filesystem::path& path() const { return folder_.path(); }
    bool mounted() const { return mounted_; }
    // Root writes into a folder whatever its mode, so only a read-only mount stops it.
    void setWritable(bool writable) {
        if (mounted_) {
            runner_.run(
                {"mount", "-o", writable ? "remount,rw" : "remount,ro", folder_.path().string()});
            return;
        }
        using std::filesystem::perms;
        const perms mode = writable ? perms::owner_all : perms::owner_read | perms::owner_exec;
        std::filesystem::permissions(folder_.path(), mode);
        std::filesystem::permissions(
            file(), writable ? perms::owner_read | perms::owner_write : perms::owner_read);
    }
    void fill() {
        std::ofstream filler(path() / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size())) {
        }
    }
    void makeRoom() { std::filesystem::remove(path() / "filler"); }
    std::filesystem::path file() const { return path() / "CalidusLog.txt"; }

  private:
    TempFolder folder_;
    LinuxCommandRunner runner_;
    bool mounted_ = false;
};

TEST(TemperatureLog, RowsSurviveStorageThatFailsAndComeBackWholeAndOnce) {
    struct Case {
        std::string name;
        bool needsMount;
        std::function<void(LogStorage&)> fail;
        std::function<void(LogStorage&)> recover;
    };
    const std::vector<Case> cases{
        {"unwritable folder", false, [](LogStorage& s) { s.setWritable(false); },
         [](LogStorage& s) { s.setWritable(true); }},
        {"file replaced by a folder", false,
         [](LogStorage& s) {
             std::filesystem::rename(s.file(), s.path() / "aside");
             std::filesystem::create_directory(s.file());
         },
         [](LogStorage& s) {
             std::filesystem::remove(s.file());
             std::filesystem::rename(s.path() / "aside", s.file());
         }},
        {"full file system", true, [](LogStorage& s) { s.fill(); },
         [](LogStorage& s) { s.makeRoom(); }},
    };
    const std::regex row(R"(01/01/24 (\d\d:\d\d:\d\d) 0\.00 45 45 45 45 0\.0)");
    for (const Case& c : cases) {
        LogStorage storage;
        if (c.needsMount && !storage.mounted()) {
            std::cout << "[ SKIPPED  ] " << c.name << ": needs root to mount a tmpfs\n";
            continue;
        }
        EngineRig rig(Edition::standard(), "LogFile=1\nLogInterval=1\nHDWrite=2\n");
        rig.logFolder = storage.path();
        rig.construct();
        ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
        // Enough rows while failing for the file to need a new block of a full disk.
        constexpr int kLastFailing = 300;
        constexpr int kLast = 302;
        runSeconds(rig, 1, 4);
        c.fail(storage);
        runSeconds(rig, 5, kLastFailing);
        EXPECT_GT(rig.engine->logBuffer().size(), 0u) << c.name;
        c.recover(storage);
        runSeconds(rig, kLastFailing + 1, kLast);
        rig.engine->shutdown();

        const std::vector<std::string> written = lines(TempFolder::read(storage.file()));
        ASSERT_EQ(written.size(), kLast + 1u) << c.name;
        EXPECT_EQ(written[0], "  DATE     TIME     MHz   C0 C1 C2 C3 LOAD%");
        for (int second = 1; second <= kLast; ++second) {
            std::smatch match;
            const std::string& line = written[static_cast<std::size_t>(second)];
            ASSERT_TRUE(std::regex_match(line, match, row)) << c.name << ": " << line;
            char time[9];
            std::snprintf(time, sizeof time, "00:%02d:%02d", second / 60, second % 60);
            EXPECT_EQ(match[1], time) << c.name;
        }
    }
}

TEST(TemperatureLog, ABufferThatCannotBeWrittenKeepsTheNewestRows) {
    LogBuffer buffer(3);
    std::vector<bool> dropped;
    for (const char* row : {"1\n", "2\n", "3\n", "4\n", "5\n"}) {
        dropped.push_back(buffer.append(row));
    }
    EXPECT_EQ(dropped, (std::vector<bool>{false, false, false, true, true}));
    EXPECT_EQ(buffer.text(), "3\n4\n5\n");
}

}  // namespace
}  // namespace calidus
