#include "RecordLine.h"

#include "FixedText.h"

namespace tarn {

namespace {

// Case is ignored for ASCII letters only, so no other character can pass for "ptbox".
bool IsPtbox(LPCWSTR cmd) {
    static constexpr char16_t kName[] = u"ptbox";
    if (cmd == nullptr) return false;
    for (size_t i = 0;; ++i) {
        WCHAR c = cmd[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<WCHAR>(c - u'A' + u'a');
        if (c != kName[i]) return false;
        if (c == 0) return true;
    }
}

void AppendQuoted(FixedText& out, LPCWSTR text) {
    out.AppendChar(u'"');
    out.Append(text);
    out.AppendChar(u'"');
}

void AppendQuoted(FixedText& out, DWORD value) {
    out.AppendChar(u'"');
    out.AppendUnsigned(value);
    out.AppendChar(u'"');
}

}  // namespace

DWORD ProcessField(const BaseInfo& base, LPCWSTR cmd) {
    return base.logId != 0 && IsPtbox(cmd) ? base.logId : base.processId;
}

DWORD IdField(const BaseInfo& base) { return base.logId != 0 ? base.logId : base.processId; }

bool ComposeRecordLine(WCHAR (&line)[kLineCapacity], const SYSTEMTIME& now, const BaseInfo& base,
                       const RecordFields& record) {
    FixedText out(line, kLineCapacity);

    out.AppendChar(u'"');
    out.AppendUnsigned(now.wYear);
    out.AppendChar(u'/');
    out.AppendUnsigned(now.wMonth);
    out.AppendChar(u'/');
    out.AppendUnsigned(now.wDay);
    out.Append(u"\",\"");
    out.AppendUnsigned(now.wHour);
    out.AppendChar(u':');
    out.AppendUnsigned(now.wMinute);
    out.AppendChar(u':');
    out.AppendUnsigned(now.wSecond);
    out.Append(u"\",");

    AppendQuoted(out, ProcessField(base, record.cmd));
    out.AppendChar(u',');
    AppendQuoted(out, IdField(base));
    out.AppendChar(u',');
    AppendQuoted(out, record.kind);
    out.AppendChar(u',');

    AppendQuoted(out, base.device);
    out.AppendChar(u',');
    AppendQuoted(out, base.address);
    out.AppendChar(u',');
    AppendQuoted(out, base.user);
    out.AppendChar(u',');

    out.AppendEscaped(record.cmd);
    out.AppendChar(u',');
    out.AppendEscaped(record.info);
    out.AppendChar(u',');
    AppendQuoted(out, base.programId);
    out.AppendChar(u',');
    out.AppendEscaped(record.msg);
    out.AppendChar(u',');
    out.Append(u"\"\",\"\",\"\",\"\",\"\"\r\n");

    if (!out.Ok()) {
        line[0] = 0;
        return false;
    }
    return true;
}

}  // namespace tarn
