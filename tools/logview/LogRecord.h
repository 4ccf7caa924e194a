// One line of an operation log, split into its fields. The log is written in the terminal's
// ANSI code page (932): every field between double quotes, a doubled quote inside one, fields
// separated by commas. Lead and trail bytes of code page 932 never take the values of the
// quote or the comma, so the split works on the bytes as they are.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vela::logview {

// The fields of the line (without its CR LF), still in code page 932; nothing when the line
// is not a sequence of quoted fields.
std::optional<std::vector<std::string>> SplitLogLine(std::string_view line);

// A record as the viewer shows it, in UTF-8.
struct LogRecord {
    std::string date, time, process, id, kind, device, address, user, command, info, program, message;
};

// The record of a line of 17 fields; nothing for any other line.
std::optional<LogRecord> ParseLogLine(std::string_view line);

// "Start", "End", "Abort", "Message" for the kind numbers 1, 2, 4, 8; the number otherwise.
std::string KindName(std::string_view number);

// Code page 932 text as UTF-8.
std::string Cp932ToUtf8(std::string_view text);

}  // namespace vela::logview
