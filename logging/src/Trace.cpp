#include "Trace.h"

#include <new>

#include "BaseInfo.h"
#include "FixedText.h"

namespace tarn {

namespace {

constexpr size_t kTraceNameCapacity = 256;
constexpr size_t kModulePathCapacity = 256;

// Room for one number conversion; a pointer in hexadecimal takes up to 16 digits on 64-bit.
constexpr size_t kNumberRoom = 20;

size_t Length(LPCWSTR s) {
    size_t n = 0;
    if (s != nullptr) while (s[n] != 0) ++n;
    return n;
}

// Sized from the format: its length, each "%s" argument plus one, room for each other number.
size_t TraceTextCapacity(LPCWSTR format, std::initializer_list<TraceArg> args) {
    size_t size = Length(format) + 1;
    auto arg = args.begin();
    for (LPCWSTR p = format; *p != 0; ++p) {
        if (*p != u'%' || p[1] == 0) continue;
        ++p;
        if (*p == u'%') continue;
        if (arg == args.end()) break;
        size += arg->isText ? Length(arg->text) + 1 : kNumberRoom;
        ++arg;
    }
    return size;
}

bool ComposeTraceName(WCHAR* name) {
    FixedText out(name, kTraceNameCapacity);
    out.Append(g_base.traceFolder);
    DWORD thread = GetCurrentThreadId();
    if (thread == g_base.traceMainThread) {
        out.Append(u"TarnMLog.txt");
    } else {
        out.Append(u"TarnTh_");
        out.AppendUnsigned(thread, 16);
        out.Append(u".txt");
    }
    return out.Ok();
}

bool WriteAll(HANDLE file, const void* data, DWORD bytes) {
    DWORD written = 0;
    return WriteFile(file, data, bytes, &written, nullptr) && written == bytes;
}

}  // namespace

size_t FormatTrace(WCHAR* buffer, size_t capacity, LPCWSTR format, std::initializer_list<TraceArg> args) {
    FixedText out(buffer, capacity);
    auto arg = args.begin();
    for (LPCWSTR p = format; *p != 0; ++p) {
        if (*p != u'%' || p[1] == 0) {
            out.AppendChar(*p);
            continue;
        }
        WCHAR conv = *++p;
        if (conv == u'%') {
            out.AppendChar(u'%');
            continue;
        }
        if (arg == args.end()) break;
        const TraceArg& a = *arg++;
        if (conv == u's') {
            out.Append(a.isText ? a.text : u"");
        } else if (conv == u'x') {
            out.AppendUnsigned(a.number, 16);
        } else if (conv == u'd') {
            long long v = static_cast<long long>(static_cast<LONG>(static_cast<DWORD>(a.number)));
            if (v < 0) out.AppendChar(u'-');
            out.AppendUnsigned(static_cast<unsigned long long>(v < 0 ? -v : v));
        } else {
            out.AppendUnsigned(a.number);
        }
    }
    return out.Length();
}

void Trace(LPCWSTR format, std::initializer_list<TraceArg> args) {
    if (g_base.traceMainThread == 0) return;

    WCHAR* name = new (std::nothrow) WCHAR[kTraceNameCapacity];
    if (name == nullptr) return;
    if (!ComposeTraceName(name)) {
        delete[] name;
        return;
    }
    HANDLE file = CreateFileW(name, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    delete[] name;
    if (file == INVALID_HANDLE_VALUE) return;

    static constexpr WCHAR kBom = 0xFEFF;
    if (existed) {
        SetFilePointer(file, 0, nullptr, FILE_END);
    } else if (!WriteAll(file, &kBom, sizeof kBom)) {
        CloseHandle(file);
        return;
    }

    // Time stamp, text and line end go out in one write, so a reader never sees half a line.
    size_t capacity = 14 + TraceTextCapacity(format, args) + 2;
    WCHAR* text = new (std::nothrow) WCHAR[capacity];
    if (text != nullptr) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        FixedText out(text, capacity);
        out.AppendChar(u'[');
        out.AppendUnsigned(now.wHour, 10, 2);
        out.AppendChar(u':');
        out.AppendUnsigned(now.wMinute, 10, 2);
        out.AppendChar(u':');
        out.AppendUnsigned(now.wSecond, 10, 2);
        out.AppendChar(u':');
        out.AppendUnsigned(now.wMilliseconds, 10, 3);
        out.AppendChar(u']');
        size_t stamp = out.Length();
        size_t body = FormatTrace(text + stamp, capacity - stamp - 2, format, args);
        text[stamp + body] = u'\r';
        text[stamp + body + 1] = u'\n';
        WriteAll(file, text, static_cast<DWORD>((stamp + body + 2) * sizeof(WCHAR)));
        delete[] text;
    }
    FlushFileBuffers(file);
    CloseHandle(file);
}

void SetUpTrace() {
    WCHAR path[kModulePathCapacity + 1] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, kModulePathCapacity);
    if (length == 0 || length >= kModulePathCapacity) return;
    DWORD slash = length;
    while (slash > 0 && path[slash - 1] != u'\\') --slash;
    if (slash == 0) return;
    path[slash] = 0;

    WCHAR folder[kFieldCapacity];
    FixedText out(folder, kFieldCapacity);
    out.Append(path);
    out.Append(u"TarnDBG\\");
    if (out.Ok() && GetFileAttributesW(folder) != INVALID_FILE_ATTRIBUTES) {
        CopyField(g_base.traceFolder, folder);
        g_base.traceMainThread = GetCurrentThreadId();
    } else {
        g_base.traceFolder[0] = 0;
        g_base.traceMainThread = 0;
    }
}

}  // namespace tarn
