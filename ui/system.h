// Functions of newer Windows versions, looked up at run time.
#pragma once

#include <windows.h>

namespace ui {

// The export `name` of the system library `module`, or nullptr where this Windows lacks it.
template <class Function>
Function systemFunction(const wchar_t* module, const char* name) {
    HMODULE library = GetModuleHandleW(module);
    if (!library) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace ui
