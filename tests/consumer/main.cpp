// An application outside the kit's build: reads a specification file and a menu file written
// in the terminal's code page, through the installed package only.
#include <TarnClog.h>
#include <VelaFW.h>
#include <VelaSys.h>

#include <cstdio>
#include <cstring>

namespace {

int g_failures = 0;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "consumer: %s\n", what);
        ++g_failures;
    }
}

bool WriteFile(LPCWSTR path, const char* bytes) {
    FILE* f = _wfopen(path, u"wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes, 1, std::strlen(bytes), f) == std::strlen(bytes);
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main() {
    // [Job] Name=<表示> (code page 932), CR LF line ends.
    Check(WriteFile(u"\\Temp\\job.ini", "[Job]\r\nName = \x95\x5c\x8e\xa6 ; comment\r\nCount=12abc\r\n"),
          "cannot write \\Temp\\job.ini");
    CVLSysIniFile ini;
    Check(ini.Create(u"\\temp\\JOB.INI") != FALSE, "Create failed");
    CString name(u"none");
    ini.GetString(u"job", u"name", name);
    Check(name == u"表示", "GetString did not return the decoded value");
    int count = -1;
    ini.GetInt(u"JOB", u"COUNT", count);
    Check(count == 12, "GetInt did not convert 12abc to 12");

    Check(WriteFile(u"\\Temp\\top.mnu",
                    "[01]\r\nKIND=2\r\nTEXT=Scan\r\nEXEPATH=\\Temp\\Sub.MNU\r\n"
                    "[02]\r\nKIND=2\r\nTEXT=Scan\r\nEXEPATH=\\Temp\\scan.exe\r\nRUNSIZE=2\r\n"),
          "cannot write \\Temp\\top.mnu");
    CVLFWMenuSpec spec;
    Check(spec.Read(u"\\Temp\\top.mnu", u"Top", nullptr) != FALSE, "Read failed");
    Check(spec.GetSize() == 2, "wrong number of entries");
    if (spec.GetSize() == 2) {
        auto* first = static_cast<CVLFWMenuItem*>(spec.GetAt(0));
        auto* second = static_cast<CVLFWMenuItem*>(spec.GetAt(1));
        Check(first->IsDirectory() == 1, "first entry is not a sub-menu");
        Check(second->GetDispName() == u"Scan(2)", "duplicate name not made unique");
        Check(second->GetShowCommand() == 11, "RUNSIZE 2 did not give 11");
    }
    // Its own string table, through its own module handle.
    WCHAR text[64] = {};
    Check(LoadStringW(GetModuleHandleW(nullptr), 1, text, 64) == 8 && CString(text) == u"業務を開始します",
          "LoadString did not read the program's own string table");

    // One operation-log record, with the program's product version in field 11.
    TarnClog_SetBaseInfo(u"\\Temp\\job.log", u"RQ-TEST", nullptr, u"山田", 0);
    Check(TarnClog_Start(u"consumer", u"入荷") == 0, "TarnClog_Start failed");
    FILE* log = _wfopen(u"\\Temp\\job.log", u"r");
    Check(log != nullptr, "the log file is missing");
    if (log != nullptr) {
        WCHAR line[512] = {};
        Check(fgetws(line, 512, log) != nullptr, "the log file is empty");
        CString record(line);
        Check(record.Find(u"\"RQ-TEST\",\"RQ-TEST\",\"山田\",\"consumer\",\"入荷\",\"consumer 1.0.0.1\",\"\",") > 0,
              "the record does not carry the expected fields");
        std::fclose(log);
    }

    std::printf("consumer: %s\n", g_failures == 0 ? "all checks passed" : "checks failed");
    return g_failures == 0 ? 0 : 1;
}
