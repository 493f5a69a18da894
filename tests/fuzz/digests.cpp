// Every digest, on its portable and its accelerated code, fed a message in the pieces asked for, against libcrypto.
#include <openssl/evp.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "digest/cpu_dispatch.h"
#include "digest/digest.h"
#include "fuzz/fuzz_check.h"

// The input opens with the number of piece sizes, then the sizes, one byte each; the rest is the message.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kMostPieceSizes = 16;
  if (size == 0)
    return 0;
  const size_t sizeCount = std::min<size_t>(data[0] % kMostPieceSizes, size - 1);
  std::vector<size_t> pieces(data + 1, data + 1 + sizeCount);
  // Sizes of 0 alone would never reach the end of the message.
  if (std::all_of(pieces.begin(), pieces.end(), [](size_t piece) { return piece == 0; }))
    pieces.clear();
  const unsigned char* message = data + 1 + sizeCount;
  const size_t length = size - 1 - sizeCount;

  for (const DigestInfo& info : kDigests)
    for (const bool accelerated : {false, true}) {
      DigestAllowAcceleration(accelerated);
      unsigned char expected[EVP_MAX_MD_SIZE] = {};
      unsigned int expectedSize = 0;
      const EVP_MD* oracle = EVP_get_digestbyname(info.name);
      Check(
          oracle && EVP_Digest(message, length, expected, &expectedSize, oracle, nullptr) && expectedSize == info.size,
          "libcrypto has no digest of this name and size");

      unsigned char whole[kMaxDigestSize] = {};
      info.compute(message, length, whole);
      Check(std::memcmp(whole, expected, info.size) == 0, "one-pass digest differs from libcrypto's");

      // A piece of size 0 is fed too, with no bytes behind it.
      DigestContext context;
      info.init(context);
      size_t done = 0;
      for (size_t i = 0; done < length; ++i) {
        const size_t piece = pieces.empty() ? length : std::min(pieces[i % pieces.size()], length - done);
        info.update(context, piece == 0 ? nullptr : message + done, piece);
        done += piece;
      }
      unsigned char streamed[kMaxDigestSize] = {};
      info.final(context, streamed);
      Check(std::memcmp(streamed, expected, info.size) == 0, "digest fed in pieces differs from libcrypto's");
    }
  DigestAllowAcceleration(true);
  return 0;
}
