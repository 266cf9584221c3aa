// std::terminate's default handler prints the exception's demangled type name
// to stderr, which a GUI process does not have; its demangler is a sixth of the
// exe. Exceptions are caught at every event and at start-up, so this only ends
// a process that is beyond saving anyway.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
