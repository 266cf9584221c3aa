// int host_barrier_call(void (*body)(void*), void* context, DWORD* code)
//
// Calls body(context) in a frame whose unwind data names host_barrier_handler
// as its exception handler (see barrier.cpp). Returns 0 when body returns, 1
// when the handler unwound to host_barrier_recovery. Every register the caller
// may rely on is saved here and restored from this frame on both ways out, as
// are the floating-point control words, whatever state the code below left.

        .text
        .p2align 4
        .globl  host_barrier_call
        .globl  host_barrier_recovery
        .def    host_barrier_call; .scl 2; .type 32; .endef
        .seh_proc host_barrier_call
host_barrier_call:
        pushq   %rbp
        .seh_pushreg %rbp
        pushq   %rbx
        .seh_pushreg %rbx
        pushq   %rsi
        .seh_pushreg %rsi
        pushq   %rdi
        .seh_pushreg %rdi
        pushq   %r12
        .seh_pushreg %r12
        pushq   %r13
        .seh_pushreg %r13
        pushq   %r14
        .seh_pushreg %r14
        pushq   %r15
        .seh_pushreg %r15
        // 0..31 home space of the call, 32..191 xmm6..xmm15, 192 the code
        // pointer (read by the handler), 200 mxcsr, 204 x87 control word.
        subq    $216, %rsp
        .seh_stackalloc 216
        movaps  %xmm6, 32(%rsp)
        .seh_savexmm %xmm6, 32
        movaps  %xmm7, 48(%rsp)
        .seh_savexmm %xmm7, 48
        movaps  %xmm8, 64(%rsp)
        .seh_savexmm %xmm8, 64
        movaps  %xmm9, 80(%rsp)
        .seh_savexmm %xmm9, 80
        movaps  %xmm10, 96(%rsp)
        .seh_savexmm %xmm10, 96
        movaps  %xmm11, 112(%rsp)
        .seh_savexmm %xmm11, 112
        movaps  %xmm12, 128(%rsp)
        .seh_savexmm %xmm12, 128
        movaps  %xmm13, 144(%rsp)
        .seh_savexmm %xmm13, 144
        movaps  %xmm14, 160(%rsp)
        .seh_savexmm %xmm14, 160
        movaps  %xmm15, 176(%rsp)
        .seh_savexmm %xmm15, 176
        .seh_endprologue
        movq    %r8, 192(%rsp)
        stmxcsr 200(%rsp)
        fnstcw  204(%rsp)
        movq    %rcx, %rax
        movq    %rdx, %rcx
        callq   *%rax
        xorl    %eax, %eax
        jmp     .Lleave

        // Reached through RtlUnwindEx with rsp at this frame again.
host_barrier_recovery:
        fninit
        fldcw   204(%rsp)
        ldmxcsr 200(%rsp)
        cld
        movl    $1, %eax

.Lleave:
        movaps  32(%rsp), %xmm6
        movaps  48(%rsp), %xmm7
        movaps  64(%rsp), %xmm8
        movaps  80(%rsp), %xmm9
        movaps  96(%rsp), %xmm10
        movaps  112(%rsp), %xmm11
        movaps  128(%rsp), %xmm12
        movaps  144(%rsp), %xmm13
        movaps  160(%rsp), %xmm14
        movaps  176(%rsp), %xmm15
        addq    $216, %rsp
        popq    %r15
        popq    %r14
        popq    %r13
        popq    %r12
        popq    %rdi
        popq    %rsi
        popq    %rbx
        popq    %rbp
        ret
        .seh_handler host_barrier_handler, @except
        .seh_endproc
