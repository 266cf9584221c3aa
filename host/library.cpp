#include "library.h"

#include "barrier.h"

#include <array>
#include <cstring>

namespace host {

namespace {

// The exports follow the Windows standard calling convention. "TestSiec" returns
// a one-byte Boolean: only the low byte of the result register counts.
using TestSiecFunction = unsigned char(__stdcall*)();
// "Wlasciciel" writes a ShortString into the buffer and removes its argument.
using WlascicielFunction = void(__stdcall*)(unsigned char* buffer);

// Room for a library that writes more than a ShortString holds.
constexpr size_t kOwnerBufferSize = 4096;

template <class Function>
Function exportOf(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Everything that touches the library, run behind the barrier. Nothing here
// needs a destructor: an exception may leave this frame without running one.
struct Queries {
    HMODULE library;
    bool* networkEdition;
    ShortString* ownerName;

    void operator()() const {
        if (const auto testSiec = exportOf<TestSiecFunction>(library, "TestSiec")) *networkEdition = testSiec() != 0;
        if (const auto wlasciciel = exportOf<WlascicielFunction>(library, "Wlasciciel")) {
            std::array<unsigned char, kOwnerBufferSize> buffer{};
            wlasciciel(buffer.data());
            // The length byte and the characters it announces, at most 255 of them.
            ShortString owner;
            std::memcpy(owner.bytes.data(), buffer.data(), size_t{buffer[0]} + 1);
            *ownerName = owner;
        }
    }
};

bool isLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// LOAD_LIBRARY_SEARCH_* came with an update of Windows 7; AddDllDirectory tells
// whether this system has them.
bool hasSearchFlags() {
    static const bool has = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory") != nullptr;
    return has;
}

}  // namespace

std::wstring libraryPath(const std::wstring& folder) {
    return folder + L"\\KRYSTEMA.dll";
}

bool isFullPath(const std::wstring& path) {
    if (path.size() >= 3 && isLetter(path[0]) && path[1] == L':' && isSeparator(path[2])) return true;
    return path.size() >= 3 && isSeparator(path[0]) && isSeparator(path[1]) && !isSeparator(path[2]);
}

HMODULE loadLibrary(const std::wstring& path) noexcept {
    if (!isFullPath(path)) return nullptr;
    if (hasSearchFlags())
        return LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

bool queryLibrary(HMODULE library, bool& networkEdition, ShortString& ownerName) noexcept {
    Queries queries{library, &networkEdition, &ownerName};
    return guarded(queries);
}

}  // namespace host
