// The fault barrier.
//
// GCC has no __try/__except, so the barrier is a small assembly function,
// host_barrier_call, that calls the body inside a stack frame with an exception
// handler of its own, the way __try does it:
//
// - x86_64 (barrier_x86_64.S): the function's unwind data names
//   host_barrier_handler (below) as its exception handler. The system walks the
//   frames from the fault outwards and asks each frame's handler in turn, so
//   anything the code below handles itself never reaches us. Our handler stores
//   the code and calls RtlUnwindEx to our frame: every frame in between is
//   unwound, with its own cleanups run, and execution resumes at
//   host_barrier_recovery, which returns "failed" to the caller with the
//   caller's registers restored from our own frame.
// - i686 (barrier_i686.S): the frame pushes an EXCEPTION_REGISTRATION record on
//   the thread's handler chain (fs:0). The system calls the chain's handlers
//   newest first; ours stores the code, lets RtlUnwind unwind and unlink the
//   newer records, then restores our frame's ebp and esp, unlinks our record and
//   returns "failed". The chain head is always reset from our record, so a stale
//   record left behind by the code below cannot survive the call.
//
// A vectored handler would not do: it runs before any frame handler and would
// take faults away from code that handles them itself.
//
// C++ exceptions of GCC code: on x86_64 a throw is a system exception (code
// 0x20474343) and is caught like any other. GCC's unwinder runs the cleanups of
// the frames it passes and then resumes unwinding towards the target it recorded
// in the exception object for the catching frame; as no GCC frame catches this
// one, our handler records our own frame and recovery address there, standing in
// for a catch. On i686 GCC throws with its DWARF unwinder, not with a system
// exception: a throw that no frame of the library catches finds no unwind data
// for the caller's frames (they belong to another module's run time), and the
// library's own run time calls std::terminate. Nothing reaches the barrier, as
// with a library that calls ExitProcess. Exceptions of other compilers (Delphi,
// MSVC) are system exceptions on both targets and are caught.
#include "barrier.h"

#include <initializer_list>

extern "C" int host_barrier_call(void (*body)(void*), void* context, DWORD* code);

#if defined(__x86_64__)

extern "C" void host_barrier_recovery();

namespace {

constexpr DWORD kGccThrow = 0x20474343;  // "GCC" throw of GCC's SEH unwinder
constexpr size_t kCodeSlot = 192;        // where host_barrier_call keeps `code`, from its frame

bool writable(const void* address, size_t size) {
    const auto* first = static_cast<const char*>(address);
    for (const char* at : {first, first + size - 1}) {
        MEMORY_BASIC_INFORMATION region;
        if (!VirtualQuery(at, &region, sizeof region) || region.State != MEM_COMMIT) return false;
        const DWORD protect = region.Protect & ~(PAGE_NOCACHE | PAGE_WRITECOMBINE);
        if (protect != PAGE_READWRITE && protect != PAGE_EXECUTE_READWRITE && protect != PAGE_WRITECOPY &&
            protect != PAGE_EXECUTE_WRITECOPY)
            return false;
    }
    return true;
}

// A GCC exception that no frame catches: point the unwinder's resume target at us.
void standInForCatch(const EXCEPTION_RECORD& record, void* frame) {
    if (record.ExceptionCode != kGccThrow || record.NumberParameters < 1) return;
    // _Unwind_Exception: class, cleanup, then private_[6]; private_[1..3] are the
    // target frame, address and rdx that _Unwind_Resume unwinds to.
    auto* object = reinterpret_cast<ULONG_PTR*>(record.ExceptionInformation[0]);
    if (!object || !writable(object, 8 * sizeof(ULONG_PTR))) return;
    object[3] = reinterpret_cast<ULONG_PTR>(frame);
    object[4] = reinterpret_cast<ULONG_PTR>(&host_barrier_recovery);
    object[5] = 0;
}

}  // namespace

extern "C" EXCEPTION_DISPOSITION host_barrier_handler(EXCEPTION_RECORD* record, void* frame, CONTEXT* context,
                                                      DISPATCHER_CONTEXT* dispatch) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
    DWORD* code = *reinterpret_cast<DWORD**>(static_cast<char*>(frame) + kCodeSlot);
    if (code) *code = record->ExceptionCode;
    standInForCatch(*record, frame);
    RtlUnwindEx(frame, reinterpret_cast<void*>(&host_barrier_recovery), record, nullptr, context,
                dispatch->HistoryTable);
    return ExceptionContinueSearch;  // not reached: RtlUnwindEx resumes at the recovery address
}

#endif

namespace host {

bool runGuarded(void (*body)(void*), void* context, DWORD* code) noexcept {
    return host_barrier_call(body, context, code) == 0;
}

}  // namespace host
