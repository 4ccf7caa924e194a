#include "AppLogStore.h"

#include <sqlite3.h>

#include <cstdio>

#include "vela/TerminalFileSystem.h"

namespace orelclog {

namespace {

constexpr char kSchema[] =
    "CREATE TABLE IF NOT EXISTS applog ("
    " id INTEGER PRIMARY KEY,"
    " time TEXT NOT NULL,"
    " kind INTEGER NOT NULL,"
    " address TEXT, device TEXT, user TEXT,"
    " log_id INTEGER NOT NULL,"
    " cmd TEXT, info TEXT, msg TEXT)";

constexpr char kInsert[] =
    "INSERT INTO applog (time, kind, address, device, user, log_id, cmd, info, msg)"
    " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)";

void BindText(sqlite3_stmt* stmt, int index, LPCWSTR text) {
    if (text == nullptr) {
        sqlite3_bind_null(stmt, index);
    } else {
        sqlite3_bind_text16(stmt, index, text, -1, SQLITE_TRANSIENT);
    }
}

void BindText(sqlite3_stmt* stmt, int index, const std::u16string& text, bool present) {
    BindText(stmt, index, present ? text.c_str() : nullptr);
}

// The terminal's local time, so rows line up with the log file's lines.
std::string LocalTimeText() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond, now.wMilliseconds);
    return text;
}

}  // namespace

std::string DatabasePath() { return vela::HostPathFromTerminal(u"\\Windows\\OrelClog.db"); }

bool StoreRecord(const LogInfo& info, DWORD kind, LPCWSTR cmd, LPCWSTR pinfo, LPCWSTR msg) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(DatabasePath().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    // Several processes may log at once; wait for the writer lock rather than lose a record.
    sqlite3_busy_timeout(db, 5000);
    bool ok = sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* stmt = nullptr;
    if (ok) ok = sqlite3_prepare_v2(db, kInsert, -1, &stmt, nullptr) == SQLITE_OK;
    if (ok) {
        std::string time = LocalTimeText();
        sqlite3_bind_text(stmt, 1, time.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(stmt, 2, kind);
        BindText(stmt, 3, info.address, info.hasAddress);
        BindText(stmt, 4, info.device, info.hasDevice);
        BindText(stmt, 5, info.user, info.hasUser);
        sqlite3_bind_int64(stmt, 6, info.logId);
        BindText(stmt, 7, cmd);
        BindText(stmt, 8, pinfo);
        BindText(stmt, 9, msg);
        ok = sqlite3_step(stmt) == SQLITE_DONE;
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return ok;
}

}  // namespace orelclog
