// CpuFeatures: which instruction sets the frame loop may use on this
// machine, asked of the processor (and, on 32-bit Windows, of the operating
// system) once.
#ifndef VISTELLO_PANORAMA_CPU_FEATURES_H
#define VISTELLO_PANORAMA_CPU_FEATURES_H

class CpuFeatures {
 public:
  // True when SSE2 instructions run here. Always on x86-64; never off x86.
  // On 32-bit x86 the processor must report them (CPUID, on processors that
  // have it) and the operating system must have switched them on: Windows
  // 95, and 98 and NT 4.0 without their SSE updates, leave them off on
  // processors that have them, and any SSE2 instruction then faults. That is
  // found out by running an SSE instruction under a fault handler. Worked
  // out on the first call, remembered after it; no SSE instruction runs
  // before the answer is known to be yes, apart from that guarded probe.
  static bool HasSse2();

  // True when SSSE3 instructions run here too: SSE2 runs (which includes
  // the operating system's consent; SSSE3 keeps its state in the same
  // registers) and CPUID says the processor has them. Never off x86.
  static bool HasSsse3();

  // Whether the projection's vector rows run here: SSE2 on x86 (HasSse2);
  // WebAssembly SIMD in a module built with it, where the choice is made at
  // build time (such a module does not load at all where SIMD is missing).
  static bool HasVectorRows();

#if defined(__i386__) && defined(_WIN32)
  // The guarded probe: runs one four-byte instruction under a structured
  // exception handler and says whether it ran; a refused one is skipped.
  // kSse is the probe of the operating system's consent (xorps xmm0, xmm0,
  // an SSE instruction, which any processor with SSE or SSE2 runs once the
  // system has switched the XMM state on); kInvalid always faults (ud2),
  // which shows the handler at work on any machine.
  enum class Probe { kSse, kInvalid };
  static bool Runs(Probe probe);

  // The SIMD paths libjpeg-turbo's decoder may take here, in its JSIMD_*
  // flags: the program's answer to the question its SIMD code asks at the
  // first decode (see cpu_features.cpp).
  static unsigned JpegSimdSupport();
#endif
};

#endif  // VISTELLO_PANORAMA_CPU_FEATURES_H
