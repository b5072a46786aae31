// CpuFeatures: CPUID and, on 32-bit Windows, the operating system's consent.
#include "panorama/cpu_features.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif
#if defined(__i386__) && defined(_WIN32)
#include <windows.h>
#endif

namespace {

// -1 until the first call has found out.
volatile int sse2_state = -1;
volatile int ssse3_state = -1;

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
  if (probe == Probe::kSse) {
    VISTELLO_GUARDED(".byte 0x0f, 0x57, 0xc0, 0x90");  // xorps %xmm0, %xmm0; nop
  } else {
    VISTELLO_GUARDED(".byte 0x0f, 0x0b, 0x90, 0x90");  // ud2; nop; nop
  }
  return probe_faulted == 0;
}
#endif

#if defined(__i386__) && defined(_WIN32)
unsigned CpuFeatures::JpegSimdSupport() {
  // libjpeg-turbo's flags (simd/jsimd.h).
  const unsigned kMmx = 0x01, kSse = 0x04, kSse2 = 0x08, kAvx2 = 0x80;
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) {
    return 0;
  }
  unsigned flags = (edx & bit_MMX) != 0 ? kMmx : 0;
  const bool sse = (edx & bit_SSE) != 0 && Runs(Probe::kSse);
  flags |= sse ? kSse : 0;
  flags |= sse && (edx & bit_SSE2) != 0 ? kSse2 : 0;
  // AVX2 as libjpeg-turbo itself decides it: the processor has AVX and
  // AVX2, and the system saves the XMM and YMM state with XSAVE (XGETBV
  // runs only where OSXSAVE says it may).
  unsigned leaf7_ebx = 0, unused = 0;
  if ((ecx & bit_OSXSAVE) != 0 && (ecx & bit_AVX) != 0 &&
      __get_cpuid_count(7, 0, &unused, &leaf7_ebx, &unused, &unused) != 0 &&
      (leaf7_ebx & bit_AVX2) != 0) {
    unsigned xcr0 = 0, xcr0_high = 0;
    asm volatile(".byte 0x0f, 0x01, 0xd0" : "=a"(xcr0), "=d"(xcr0_high) : "c"(0));  // xgetbv
    flags |= (xcr0 & 6) == 6 ? kAvx2 : 0;
  }
  return flags;
}

// libjpeg-turbo's SIMD code asks this once, at the first decode, which of
// its paths may run. Its own answer (an object of its library that this
// definition keeps out of the link) trusts CPUID alone, and on Windows 95,
// or 98 and NT 4.0 without SSE support, on a processor with SSE2 the first
// decode would fault; this one also asks the operating system.
extern "C" unsigned int jpeg_simd_cpu_support(void) {
  return CpuFeatures::JpegSimdSupport();
}
#endif

bool CpuFeatures::HasSse2() {
  if (sse2_state < 0) {
    // Threads that race here all find the same answer.
#if defined(__x86_64__)
    sse2_state = 1;
#elif defined(__i386__) && defined(_WIN32)
    sse2_state = ProcessorReportsSse2() && Runs(Probe::kSse) ? 1 : 0;
#else
    sse2_state = 0;
#endif
  }
  return sse2_state == 1;
}

bool CpuFeatures::HasSsse3() {
  if (ssse3_state < 0) {
#if defined(__i386__) || defined(__x86_64__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    ssse3_state =
        HasSse2() && __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (ecx & bit_SSSE3) != 0 ? 1 : 0;
#else
    ssse3_state = 0;
#endif
  }
  return ssse3_state == 1;
}

bool CpuFeatures::HasVectorRows() {
#if defined(__wasm_simd128__)
  return true;
#else
  return HasSse2();
#endif
}
