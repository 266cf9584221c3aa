// int host_barrier_call(void (*body)(void*), void* context, DWORD* code), cdecl
//
// Calls body(context) with an EXCEPTION_REGISTRATION record of our own at the
// head of the thread's handler chain (fs:0), see barrier.cpp. Returns 0 when
// body returns, 1 when _host_barrier_handler took an exception. The record, on
// this frame, is laid out as:
//   -40(%ebp) next record      -36(%ebp) _host_barrier_handler
//   -32(%ebp) this frame's ebp -28(%ebp) the code pointer
// followed by -24 the x87 control word and -12..-4 the saved edi, esi, ebx.

        .text
        .p2align 4
        .globl  _host_barrier_call
        .def    _host_barrier_call; .scl 2; .type 32; .endef
_host_barrier_call:
        pushl   %ebp
        movl    %esp, %ebp
        pushl   %ebx
        pushl   %esi
        pushl   %edi
        subl    $12, %esp
        fnstcw  -24(%ebp)
        pushl   16(%ebp)
        pushl   %ebp
        pushl   $_host_barrier_handler
        pushl   %fs:0
        movl    %esp, %fs:0
        pushl   12(%ebp)
        call    *8(%ebp)
        xorl    %eax, %eax
.Lleave:
        movl    -40(%ebp), %ecx
        movl    %ecx, %fs:0
        leal    -12(%ebp), %esp
        popl    %edi
        popl    %esi
        popl    %ebx
        popl    %ebp
        ret

// EXCEPTION_DISPOSITION handler(EXCEPTION_RECORD*, void* record, CONTEXT*, void*), cdecl
        .p2align 4
        .def    _host_barrier_handler; .scl 3; .type 32; .endef
_host_barrier_handler:
        movl    4(%esp), %eax
        testl   $6, 4(%eax)             // EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND
        jnz     .Lsearch
        movl    8(%esp), %ecx
        movl    12(%ecx), %edx
        testl   %edx, %edx
        jz      1f
        movl    (%eax), %eax
        movl    %eax, (%edx)
        movl    4(%esp), %eax
1:      pushl   $0
        pushl   %eax
        pushl   $2f
        pushl   %ecx
        call    _RtlUnwind@16
        // RtlUnwind unlinked every newer record and returns here; it keeps esp
        // but not ebx, esi, edi, so everything is read back from memory.
2:      movl    8(%esp), %ecx
        movl    8(%ecx), %ebp
        fninit
        fldcw   -24(%ebp)
        cld
        movl    $1, %eax
        jmp     .Lleave
.Lsearch:
        movl    $1, %eax                // ExceptionContinueSearch
        ret
