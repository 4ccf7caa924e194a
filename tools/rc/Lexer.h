// Splits one logical line of a resource script (comments already removed) into tokens.
#pragma once

#include <string_view>
#include <vector>

#include "Token.h"

namespace vela::rc {

std::vector<Token> Tokenize(std::u16string_view line, const SourceLocation& where);

// Removes // and /* */ comments, keeping string literals intact. inComment carries an open
// /* */ comment from one line to the next.
std::u16string StripComments(std::u16string_view line, bool* inComment);

}  // namespace vela::rc
