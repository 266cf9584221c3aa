// The fault barrier between the wizard and code it does not control.
#pragma once

#include <windows.h>

namespace host {

// Runs body(context) so that no exception raised below it reaches the caller:
// hardware faults, RaiseException with any code and (on x86_64) a C++ exception
// of the GCC run time all end the call. Handlers the code below installs itself
// are asked first, so a fault it handles on its own stays its own. True when
// body returned normally; false when an exception ended it, with its code in
// *code when code is given. After a false, the code that failed is in an unknown
// state: call nothing of it again.
bool runGuarded(void (*body)(void*), void* context, DWORD* code = nullptr) noexcept;

// The same for any callable; its own frame must hold nothing that needs a
// destructor, as on i686 an exception passes over it without running one.
template <class Body>
bool guarded(Body& body, DWORD* code = nullptr) noexcept {
    return runGuarded([](void* context) { (*static_cast<Body*>(context))(); }, &body, code);
}

}  // namespace host
