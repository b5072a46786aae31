// CpuFeatures: CPUID and, on 32-bit Windows, the operating system's consent.
#include "panorama/cpu_features.h"

#if defined(__i386__) && defined(_WIN32)
#include <cpuid.h>
#include <windows.h>
#endif

namespace {

// -1 until the first call has found out.
volatile int sse2_state = -1;

#if defined(__i386__) && defined(_WIN32)
// CPUID leaf 1, EDX bit 26. __get_cpuid first checks that the processor has
// CPUID at all (a 386 or early 486 does not: the EFLAGS ID bit sticks).
bool ProcessorReportsSse2() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (edx & bit_SSE2) != 0;
}

// Set by the handler when the probe instruction faulted.
volatile LONG probe_faulted = 0;
// Both probes are four bytes long; the handler resumes right after them.
const DWORD kProbeBytes = 4;

// A frame-based handler, as every 32-bit Windows since 95 dispatches them
// through the chain at FS:[0]. The handler is registered only for the
// duration of the probe instruction, so an illegal instruction seen while it
// is registered is the probe's.
EXCEPTION_DISPOSITION __cdecl ProbeHandler(EXCEPTION_RECORD* record, void*, CONTEXT* context,
                                           void*) {
  if (record->ExceptionCode != STATUS_ILLEGAL_INSTRUCTION ||
      (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0) {
    return ExceptionContinueSearch;
  }
  probe_faulted = 1;
  context->Eip += kProbeBytes;
  return ExceptionContinueExecution;
}

// The registration record {previous, handler} is pushed onto the stack,
// where newer Windows requires it to be, and unlinked before the stack
// pointer returns to where the compiler left it. The probe leaves xmm0
// changed, which every calling convention on 32-bit Windows allows.
#define VISTELLO_GUARDED(bytes)                               \
  asm volatile(                                               \
      "pushl %[handler]\n\t"                                  \
      "pushl %%fs:0\n\t"                                      \
      "movl %%esp, %%fs:0\n\t" bytes                          \
      "\n\tmovl (%%esp), %%eax\n\t"                           \
      "movl %%eax, %%fs:0\n\t"                                \
      "addl $8, %%esp"                                        \
      :                                                       \
      : [handler] "r"(reinterpret_cast<void*>(&ProbeHandler)) \
      : "eax", "memory")
#endif

}  // namespace

#if defined(__i386__) && defined(_WIN32)
bool CpuFeatures::Runs(Probe probe) {
  probe_faulted = 0;
  if (probe == Probe::kSse2) {
    VISTELLO_GUARDED(".byte 0x66, 0x0f, 0xef, 0xc0");  // pxor %xmm0, %xmm0
  } else {
    VISTELLO_GUARDED(".byte 0x0f, 0x0b, 0x90, 0x90");  // ud2; nop; nop
  }
  return probe_faulted == 0;
}
#endif

bool CpuFeatures::HasSse2() {
  if (sse2_state < 0) {
    // Threads that race here all find the same answer.
#if defined(__x86_64__)
    sse2_state = 1;
#elif defined(__i386__) && defined(_WIN32)
    sse2_state = ProcessorReportsSse2() && Runs(Probe::kSse2) ? 1 : 0;
#else
    sse2_state = 0;
#endif
  }
  return sse2_state == 1;
}

bool CpuFeatures::HasVectorRows() {
#if defined(__wasm_simd128__)
  return true;
#else
  return HasSse2();
#endif
}
