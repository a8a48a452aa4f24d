#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Edition.h"

namespace calidus {

// One row's values in column order.
struct LogRowValues {
    std::tm time{};
    double coreMHz = 0.0;
    std::vector<int> temperatures;  // the present cores', by ascending core number
    std::optional<int> gpu;         // while a GPU source runs
    double load = 0.0;
};

// "%x %H:%M:%S %.2f" then " %d" per temperature, " %.1f" and "\n", with the C locale's date
// (month/day/year) and decimal point whatever the process's locale.
std::string formatLogRow(const LogRowValues& values);

// The columns the rows carry, for the header of a new file.
struct LogColumns {
    std::vector<int> cores;
    bool gpu = false;
};

std::string logHeader(const Edition& edition, const LogColumns& columns, bool csv);

// Rows as they go to disk: blanks become commas in the comma-separated file (commas blanks in
// the text file) and every line ends in CR LF.
std::string logFileText(std::string_view rows, bool csv);

}  // namespace calidus
