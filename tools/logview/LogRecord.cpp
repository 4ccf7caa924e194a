#include "LogRecord.h"

#include <windows.h>

namespace vela::logview {

std::optional<std::vector<std::string>> SplitLogLine(std::string_view line) {
    std::vector<std::string> fields;
    size_t at = 0;
    while (true) {
        if (at >= line.size() || line[at] != '"') return std::nullopt;
        ++at;
        std::string field;
        while (true) {
            if (at >= line.size()) return std::nullopt;  // no closing quote
            if (line[at] == '"') {
                if (at + 1 < line.size() && line[at + 1] == '"') {
                    field += '"';
                    at += 2;
                    continue;
                }
                ++at;
                break;
            }
            field += line[at++];
        }
        fields.push_back(std::move(field));
        if (at == line.size()) return fields;
        if (line[at] != ',') return std::nullopt;
        ++at;
    }
}

std::string Cp932ToUtf8(std::string_view text) {
    if (text.empty()) return std::string();
    const int length = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(932, 0, text.data(), length, nullptr, 0);
    if (wide <= 0) return std::string(text);
    std::u16string utf16(static_cast<size_t>(wide), u'\0');
    MultiByteToWideChar(932, 0, text.data(), length, utf16.data(), wide);
    const int size = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, out.data(), size, nullptr, nullptr);
    return out;
}

std::string KindName(std::string_view number) {
    if (number == "1") return "Start";
    if (number == "2") return "End";
    if (number == "4") return "Abort";
    if (number == "8") return "Message";
    return std::string(number);
}

std::optional<LogRecord> ParseLogLine(std::string_view line) {
    auto fields = SplitLogLine(line);
    if (!fields || fields->size() != 17) return std::nullopt;
    const auto& f = *fields;
    LogRecord record;
    record.date = Cp932ToUtf8(f[0]);
    record.time = Cp932ToUtf8(f[1]);
    record.process = Cp932ToUtf8(f[2]);
    record.id = Cp932ToUtf8(f[3]);
    record.kind = KindName(f[4]);
    record.device = Cp932ToUtf8(f[5]);
    record.address = Cp932ToUtf8(f[6]);
    record.user = Cp932ToUtf8(f[7]);
    record.command = Cp932ToUtf8(f[8]);
    record.info = Cp932ToUtf8(f[9]);
    record.program = Cp932ToUtf8(f[10]);
    record.message = Cp932ToUtf8(f[11]);
    return record;
}

}  // namespace vela::logview
