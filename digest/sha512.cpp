#include "digest/sha512.h"

#include <cstring>

#include "digest/block_buffer.h"
#include "digest/byte_order.h"
#include "digest/cpu_dispatch.h"
#include "digest/sha512_blocks.h"

// The compression itself is in sha512_blocks.h, shared with the build of it
// for newer x86 CPUs.
void Sha512BlocksPortable(uint64_t state[8], const unsigned char* data, uint64_t blockCount) {
  Sha512CompressBlocks(state, data, blockCount);
}

namespace {

// Whole blocks are compressed where they lie, in the caller's memory.
void CompressBlocks(uint64_t state[8], const unsigned char* data, uint64_t blockCount) {
  const bool accelerated = DigestAccelerationAllowed();
  if (accelerated && CpuHasAvx512())
    Sha512BlocksAvx512(state, data, blockCount);
  else if (accelerated && CpuHasAvxBmi2())
    Sha512BlocksAvxBmi2(state, data, blockCount);
  else
    Sha512BlocksPortable(state, data, blockCount);
}

}  // namespace

void Sha512Init(Sha512Context& ctx) {
  static constexpr uint64_t kInitial[8] = {
      0x6a09e667f3bcc908, 0xbb67ae8584caa73b, 0x3c6ef372fe94f82b, 0xa54ff53a5f1d36f1,
      0x510e527fade682d1, 0x9b05688c2b3e6c1f, 0x1f83d9abfb41bd6b, 0x5be0cd19137e2179,
  };
  ctx.bitCount = 0;
  std::memcpy(ctx.state, kInitial, sizeof kInitial);
  ctx.bufferLength = 0;
}

void Sha512Update(Sha512Context& ctx, const unsigned char* data, uint64_t count) {
  BufferedUpdate<kSha512BlockSize>(ctx, data, count, CompressBlocks);
}

void Sha512Final(Sha512Context& ctx, unsigned char* digest) {
  PadAndCompress<kSha512BlockSize, std::endian::big>(ctx, CompressBlocks);
  for (int j = 0; j < 8; ++j)
    StoreBE64(digest + 8 * j, ctx.state[j]);
}
