// Replacing a file so that it holds either its old bytes or all the new ones.
#pragma once

#include <windows.h>

#include <span>
#include <string>

namespace templates {

// Writes `bytes` to `target` through a temporary file in the same folder, flushed
// and then moved over the target in one step. Throws ui::Win32Error, leaving the
// target as it was and no temporary file behind, when:
// - the target's folder is missing or denied;
// - the target exists but cannot be opened for reading and writing without
//   sharing: held open by another program, read-only, a folder;
// - the bytes cannot all be written (disk full) or the move fails.
void replaceFile(const std::wstring& target, std::span<const BYTE> bytes);

}  // namespace templates
