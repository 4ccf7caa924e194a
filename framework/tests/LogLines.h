// The operation log as the tests read it back: lines of 17 quoted fields in code page 932.
#pragma once

#include <winnls.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vlfwtest {

using LogFields = std::vector<std::u16string>;

// Fields 1 to 17 of one line as indexes 0 to 16; doubled quotes inside a field become one.
inline LogFields SplitLogLine(const std::u16string& line) {
    LogFields fields;
    size_t i = 0;
    while (i < line.size() && line[i] == u'"') {
        std::u16string field;
        for (++i; i < line.size(); ++i) {
            if (line[i] == u'"') {
                if (i + 1 < line.size() && line[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    break;
                }
            } else {
                field += line[i];
            }
        }
        fields.push_back(field);
        i += 2;  // the closing quote and the comma
    }
    return fields;
}

// Every line of the log file, decoded from code page 932; a line must end with CR LF.
inline std::vector<LogFields> ReadLog(const std::filesystem::path& host) {
    std::ifstream in(host, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<LogFields> lines;
    size_t begin = 0;
    for (size_t end; (end = bytes.find("\r\n", begin)) != std::string::npos; begin = end + 2) {
        const std::string raw = bytes.substr(begin, end - begin);
        std::u16string text(raw.size(), u'\0');
        int n = MultiByteToWideChar(932, 0, raw.data(), static_cast<int>(raw.size()), text.data(),
                                    static_cast<int>(text.size()));
        text.resize(n > 0 ? static_cast<size_t>(n) : 0);
        lines.push_back(SplitLogLine(text));
    }
    return lines;
}

// Field positions (0-based) of the record line.
constexpr size_t kLogKind = 4;
constexpr size_t kLogIdField = 3;
constexpr size_t kLogDevice = 5;
constexpr size_t kLogUser = 7;
constexpr size_t kLogCmd = 8;
constexpr size_t kLogInfo = 9;
constexpr size_t kLogMessage = 11;

}  // namespace vlfwtest
