// The host program's library: finding it in a folder, loading it, asking it.
#pragma once

#include "short_string.h"

#include <windows.h>

#include <string>

namespace host {

// The library's path in a host folder: plain concatenation, nothing trimmed, so a
// folder that ends in a backslash gives two in a row.
std::wstring libraryPath(const std::wstring& folder);

// Whether a path names one place whatever the current drive and directory:
// "X:\..." or "\\server\...".
bool isFullPath(const std::wstring& path);

// Loads the library so that its own dependencies come from its folder and the
// system folder only. nullptr when the file is missing, is no library, its
// start-up fails, or the path is not a full path: an empty folder would give
// "\KRYSTEMA.dll", a file in the root of whatever drive is current.
HMODULE loadLibrary(const std::wstring& path) noexcept;

// Asks the loaded library "TestSiec", then "Wlasciciel", behind the fault
// barrier. Each answer is stored as soon as its export returns; an export the
// library lacks leaves its field as it was. False when the library raised an
// exception: answers stored before it stay.
bool queryLibrary(HMODULE library, bool& networkEdition, ShortString& ownerName) noexcept;

// Frees the library once when it goes out of scope and empties the handle.
class Unload {
public:
    explicit Unload(HMODULE& library) : library_(library) {}
    ~Unload() {
        if (library_) FreeLibrary(library_);
        library_ = nullptr;
    }
    Unload(const Unload&) = delete;
    Unload& operator=(const Unload&) = delete;

private:
    HMODULE& library_;
};

}  // namespace host
