// CpuFeatures on 32-bit Windows: the guarded probe survives an instruction
// the processor refuses, which is what a Windows without SSE support does
// to an SSE2 instruction, and says so; on this machine SSE2 runs.
#include "panorama/cpu_features.h"

#include <gtest/gtest.h>

namespace {

TEST(CpuFeatures, AGuardedProbeSurvivesARefusedInstruction) {
  EXPECT_FALSE(CpuFeatures::Runs(CpuFeatures::Probe::kInvalid));
  // And again: the handler was unlinked and is linked anew.
  EXPECT_FALSE(CpuFeatures::Runs(CpuFeatures::Probe::kInvalid));
  // Every processor that runs this suite's Wine has SSE2, and Wine lets it
  // run.
  EXPECT_TRUE(CpuFeatures::Runs(CpuFeatures::Probe::kSse));
  EXPECT_TRUE(CpuFeatures::HasSse2());
  // What libjpeg-turbo's decoder is told: MMX, SSE and SSE2 (0x01, 0x04,
  // 0x08) at least, and never a flag it does not know from us.
  const unsigned jpeg = CpuFeatures::JpegSimdSupport();
  EXPECT_EQ(jpeg & 0x0D, 0x0Du);
  EXPECT_EQ(jpeg & ~0x8Du, 0u);
}

}  // namespace
