#include "LogTable.h"

#include <algorithm>

namespace vela::logview {

namespace {

const std::array<std::string, LogTable::kColumns> kTitles = {
    "Date", "Time", "Kind", "Process", "ID", "Device", "Address", "User", "Command", "Info", "Program", "Message"};

std::array<std::string, LogTable::kColumns> Cells(const LogRecord& r) {
    return {r.date, r.time, r.kind, r.process, r.id, r.device, r.address, r.user, r.command, r.info, r.program,
            r.message};
}

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
           (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

}  // namespace

size_t DisplayWidth(std::string_view utf8) {
    size_t width = 0;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (i + length > utf8.size()) length = utf8.size() - i;
        char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        width += IsWide(c) ? 2 : (c < 0x20 ? 0 : 1);
        i += length;
    }
    return width;
}

LogTable::LogTable() {
    for (size_t i = 0; i < kColumns; ++i) widths_[i] = DisplayWidth(kTitles[i]);
}

void LogTable::Fit(const LogRecord& record) {
    const auto cells = Cells(record);
    for (size_t i = 0; i < kColumns; ++i) widths_[i] = std::max(widths_[i], DisplayWidth(cells[i]));
}

std::string LogTable::Header() const {
    std::string header = Format(kTitles);
    size_t rule = 0;
    for (size_t i = 0; i + 1 < kColumns; ++i) rule += widths_[i] + 2;
    rule += widths_[kColumns - 1];
    return header + std::string(rule, '-') + "\n";
}

std::string LogTable::Row(const LogRecord& record) const { return Format(Cells(record)); }

std::string LogTable::Unreadable(std::string_view line) { return "?? " + Cp932ToUtf8(line) + "\n"; }

std::string LogTable::Format(const std::array<std::string, kColumns>& cells) const {
    std::string row;
    for (size_t i = 0; i < kColumns; ++i) {
        row += cells[i];
        if (i + 1 < kColumns) {
            const size_t width = DisplayWidth(cells[i]);
            row.append(width < widths_[i] ? widths_[i] - width : 0, ' ');
            row += "  ";
        }
    }
    return row + "\n";
}

}  // namespace vela::logview
