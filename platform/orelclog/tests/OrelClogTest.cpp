// The collector stand-in: its mode from the registry, records in its database, and the logging
// library handing records over to it once it is installed in \Windows.
#include <OrelClog.h>
#include <TarnClog.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "PrivateTerminalRoot.h"
#include "TerminalTempDir.h"
#include "vela/TerminalFileSystem.h"

namespace {

void SetMode(std::optional<DWORD> mode) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Vela\\OrelClog", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    if (mode) {
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, u"MLSMode", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*mode),
                                                sizeof(DWORD)));
    } else {
        RegDeleteValueW(key, u"MLSMode");
    }
    RegCloseKey(key);
}

struct Row {
    long long kind = 0, logId = 0;
    std::optional<std::u16string> address, device, user, cmd, info, msg;
};

std::optional<std::u16string> Text(sqlite3_stmt* stmt, int column) {
    if (sqlite3_column_type(stmt, column) == SQLITE_NULL) return std::nullopt;
    return std::u16string(static_cast<const char16_t*>(sqlite3_column_text16(stmt, column)));
}

std::vector<Row> Rows() {
    std::vector<Row> rows;
    sqlite3* db = nullptr;
    std::string path = vela::HostPathFromTerminal(u"\\Windows\\OrelClog.db");
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return rows;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT kind, log_id, address, device, user, cmd, info, msg FROM applog ORDER BY id",
                           -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            Row r;
            r.kind = sqlite3_column_int64(stmt, 0);
            r.logId = sqlite3_column_int64(stmt, 1);
            r.address = Text(stmt, 2);
            r.device = Text(stmt, 3);
            r.user = Text(stmt, 4);
            r.cmd = Text(stmt, 5);
            r.info = Text(stmt, 6);
            r.msg = Text(stmt, 7);
            rows.push_back(r);
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

class OrelClogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove(vela::HostPathFromTerminal(u"\\Windows\\OrelClog.db"));
        SetMode(std::nullopt);
    }
    TerminalTempDir dir_;
};

TEST_F(OrelClogTest, ModeFollowsTheRegistryValueAndIsOneWithout) {
    EXPECT_EQ(1u, OrelClog_IsMLSMode());
    for (DWORD mode : {0u, 1u, 2u, 0xFFFFFFFFu}) {
        SetMode(mode);
        EXPECT_EQ(mode, OrelClog_IsMLSMode());
    }
    SetMode(std::nullopt);
    EXPECT_EQ(1u, OrelClog_IsMLSMode());
}

TEST_F(OrelClogTest, RecordsLandInTheDatabaseWithNullsKept) {
    ASSERT_TRUE(OrelClog_SetLogInfo(u"10.0.0.7", nullptr, u"山田", 0x80000001u));
    ASSERT_TRUE(OrelClog_PutAppLog(8, u"scan", nullptr, u"a \"quoted\" 表示"));
    ASSERT_TRUE(OrelClog_PutAppLog(1, nullptr, u"", nullptr));

    auto rows = Rows();
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(8, rows[0].kind);
    EXPECT_EQ(0x80000001LL, rows[0].logId);
    EXPECT_EQ(u"10.0.0.7", rows[0].address);
    EXPECT_EQ(std::nullopt, rows[0].device);
    EXPECT_EQ(u"山田", rows[0].user);
    EXPECT_EQ(u"scan", rows[0].cmd);
    EXPECT_EQ(std::nullopt, rows[0].info);
    EXPECT_EQ(u"a \"quoted\" 表示", rows[0].msg);
    EXPECT_EQ(std::nullopt, rows[1].cmd);
    EXPECT_EQ(u"", rows[1].info);
    EXPECT_EQ(std::nullopt, rows[1].msg);
}

// Installed in \Windows and asking for the records, the collector gets them all and the log
// file is never created.
TEST_F(OrelClogTest, InstalledCollectorTakesTheLibrarysRecords) {
    std::filesystem::path installed = vela::HostPathFromTerminal(u"\\Windows\\libOrelClog.so");
    std::filesystem::copy_file(ORELCLOG_LIBRARY, installed, std::filesystem::copy_options::overwrite_existing);
    SetMode(0);
    std::u16string log = dir_.Path("op.log");

    TarnClog_SetBaseInfo(log.c_str(), u"RT-1", nullptr, u"tanaka", 42);
    EXPECT_EQ(0, TarnClog_Start(u"ptbox", u"menu"));
    EXPECT_EQ(0, TarnClog_End(nullptr, nullptr, u"done"));

    SetMode(1);
    TarnClog_SetBaseInfo(log.c_str(), u"RT-1", nullptr, u"tanaka", 42);
    EXPECT_EQ(0, TarnClog_Start(u"ptbox", u"menu"));
    std::filesystem::remove(installed);

    auto rows = Rows();
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(1, rows[0].kind);
    EXPECT_EQ(u"RT-1", rows[0].address);
    EXPECT_EQ(u"RT-1", rows[0].device);
    EXPECT_EQ(u"tanaka", rows[0].user);
    EXPECT_EQ(42, rows[0].logId);
    EXPECT_EQ(u"", rows[0].msg);
    EXPECT_EQ(2, rows[1].kind);
    EXPECT_EQ(std::nullopt, rows[1].cmd);
    EXPECT_EQ(u"done", rows[1].msg);
    // Mode 1: the third record went to the log file instead.
    EXPECT_TRUE(std::filesystem::exists(dir_.HostPath("op.log")));
}

}  // namespace
