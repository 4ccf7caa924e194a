// Key paths given by callers ("Software\Vela\Settings").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vela::registry {

constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxValueNameLength = 16383;

// Splits a path at its backslashes; an empty path gives no names and one trailing backslash is
// ignored. Fails on an empty name inside the path, a name over kMaxKeyNameLength characters,
// and line breaks, which no .reg file could keep.
bool SplitKeyPath(std::u16string_view path, std::vector<std::u16string>* names);

// A value name the hive file can keep: no line breaks, at most kMaxValueNameLength characters.
bool ValidValueName(std::u16string_view name);

}  // namespace vela::registry
