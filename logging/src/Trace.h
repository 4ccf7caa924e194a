// The debug trace: UTF-16 files in the "TarnDBG" folder beside the executable, one for the
// thread that set the base information and one per other thread. Tracing never fails a call.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace tarn {

// One argument of a trace format: a string for "%s", a number for "%u", "%d" and "%x".
struct TraceArg {
    TraceArg(LPCWSTR s) : text(s), isText(true) {}
    TraceArg(DWORD n) : number(n) {}
    TraceArg(const void* p) : number(reinterpret_cast<UINT_PTR>(p)) {}

    LPCWSTR text = nullptr;
    unsigned long long number = 0;
    bool isText = false;
};

// Formats into a buffer of the given capacity (terminator included); returns the length.
// Only the conversions above; "%%" is a percent sign; the text is cut at the capacity.
size_t FormatTrace(WCHAR* buffer, size_t capacity, LPCWSTR format, std::initializer_list<TraceArg> args);

// Appends "[hh:mm:ss:mmm]", the formatted text and CR LF to the calling thread's trace file
// when tracing is on.
void Trace(LPCWSTR format, std::initializer_list<TraceArg> args);

// Step 1 of setting the base information: tracing is on exactly while "TarnDBG\" exists beside
// the executable, for the calling thread as the main thread.
void SetUpTrace();

}  // namespace tarn
