// A read-only runtime-library stream over bytes in memory, for parsing without a file (fuzz
// targets, benchmarks). In text mode it reads CR LF as LF, as a file opened with "rt" does.
#pragma once

#include <cstddef>
#include <cstdio>

namespace vela {

// The stream keeps its own copy of the bytes; close it with fclose. Null when it cannot be
// made.
FILE* OpenMemoryStream(const void* data, size_t size, bool textMode);

}  // namespace vela
