#include "record/LogFormat.h"

#include "common/Text.h"

namespace calidus {

namespace {

void appendTwoDigits(std::string& text, int value) {
    text += static_cast<char>('0' + value / 10 % 10);
    text += static_cast<char>('0' + value % 10);
}

void appendThreeFields(std::string& text, int first, int second, int third, char separator) {
    appendTwoDigits(text, first);
    text += separator;
    appendTwoDigits(text, second);
    text += separator;
    appendTwoDigits(text, third);
}

}  // namespace

std::string formatLogRow(const LogRowValues& values) {
    const std::tm& t = values.time;
    std::string row;
    appendThreeFields(row, t.tm_mon + 1, t.tm_mday, t.tm_year % 100, '/');
    row += ' ';
    appendThreeFields(row, t.tm_hour, t.tm_min, t.tm_sec, ':');
    row += ' ' + fixedText(values.coreMHz, 2);
    for (const int temperature : values.temperatures) {
        row += ' ' + std::to_string(temperature);
    }
    if (values.gpu) {
        row += ' ' + std::to_string(*values.gpu);
    }
    row += ' ' + fixedText(values.load, 1) + '\n';
    return row;
}

std::string logHeader(const Edition& edition, const LogColumns& columns, bool csv) {
    std::string header = csv ? "DATE,TIME,MHz," : "  DATE     TIME     MHz   ";
    for (const int core : columns.cores) {
        header += (csv ? "CPU_" : "C") + std::to_string(core) + (csv ? "," : " ");
    }
    if (columns.gpu) {
        header += csv ? std::string("GPU,") : std::string(edition.logTextGpuHeading);
    }
    return header + "LOAD%\n";
}

std::string logFileText(std::string_view rows, bool csv) {
    const char from = csv ? ' ' : ',';
    const char to = csv ? ',' : ' ';
    std::string text;
    text.reserve(rows.size() + rows.size() / 16);
    for (const char c : rows) {
        if (c == '\n') {
            text += "\r\n";
        } else {
            text += c == from ? to : c;
        }
    }
    return text;
}

}  // namespace calidus
