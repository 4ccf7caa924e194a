// The one real task of the setup library: the installed files go into \Windows.
#pragma once

#include <afxcoll.h>

namespace velasetup {

// Size of each path buffer, in characters with the terminating zero.
constexpr size_t kPathChars = 1024;

// Appends the names of the plain files directly in pszDir (no subfolders) to list. A folder
// that cannot be searched leaves the list as it was.
void CollectFileNames(LPCWSTR pszDir, CStringList& list);

// Moves pszDir\pszName to \Windows\pszName; an older copy there is moved aside to
// \Windows\pszName.Vela first and deleted once the new file is in place, or put back when it
// could not be placed. A name whose paths would not fit the buffers is skipped.
void MoveIntoWindows(LPCWSTR pszDir, LPCWSTR pszName);

}  // namespace velasetup
