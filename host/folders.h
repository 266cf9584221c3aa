// Folder names as the manual choice handles them.
#pragma once

#include <string>

namespace host {

// The folder that holds the running program's own file, without a trailing
// backslash unless it is a drive root ("C:\").
std::wstring executableFolder();

// The folder with one trailing backslash dropped: "C:\" becomes "C:".
std::wstring withoutTrailingBackslash(std::wstring folder);

}  // namespace host
