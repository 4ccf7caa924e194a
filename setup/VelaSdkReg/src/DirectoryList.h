// Semicolon-separated directory lists of the development tools. Entries are whole texts between
// semicolons, compared without regard to case, so "\Kit\Include" is not found in
// "\Kit\Include2". Adding puts the entry in front with its own separator; removing takes the
// entry and that separator out again, so an add followed by a remove gives back the list as it
// was.
#pragma once

#include <wintypes.h>

#include <string>

namespace velasdkreg {

// The list with entry in front ("entry;" + list), or false when an equal entry is there.
bool AddToList(std::u16string& list, const std::u16string& entry);
bool AddToList(std::string& list, const std::string& entry);

// The list without the first equal entry and its separator, or false when there is none.
bool RemoveFromList(std::u16string& list, const std::u16string& entry);
bool RemoveFromList(std::string& list, const std::string& entry);

}  // namespace velasdkreg
