// Operation-log records as a text table for a UTF-8 terminal: one row per record, columns
// padded to the widest cell, counting East Asian wide characters as two columns.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "LogRecord.h"

namespace vela::logview {

// Terminal columns that the UTF-8 text takes.
size_t DisplayWidth(std::string_view utf8);

class LogTable {
 public:
    static constexpr size_t kColumns = 12;

    LogTable();
    // Widens the columns so the record fits.
    void Fit(const LogRecord& record);
    std::string Header() const;
    std::string Row(const LogRecord& record) const;
    // A line that is not a record is shown as it is, marked.
    static std::string Unreadable(std::string_view line);

 private:
    std::string Format(const std::array<std::string, kColumns>& cells) const;
    std::array<size_t, kColumns> widths_{};
};

}  // namespace vela::logview
