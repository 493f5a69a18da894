#include "digest/digest.h"

#include "digest/md5.h"
#include "digest/sha1.h"
#include "digest/sha256.h"
#include "digest/sha512.h"

namespace {

template <typename Context, void (*Init)(Context&), void (*Update)(Context&, const unsigned char*, uint64_t),
          void (*Final)(Context&, unsigned char*)>
void Compute(const unsigned char* data, uint64_t length, unsigned char* out) {
  Context context;
  Init(context);
  Update(context, data, length);
  Final(context, out);
}

}  // namespace

const std::array<DigestInfo, 4> kDigests = {{
    {DigestKind::Md5, "MD5", "-md5", ".md5", kMd5DigestSize, Compute<Md5Context, Md5Init, Md5Update, Md5Final>},
    {DigestKind::Sha1, "SHA-1", "-sha1", ".sha1", kSha1DigestSize,
     Compute<Sha1Context, Sha1Init, Sha1Update, Sha1Final>},
    {DigestKind::Sha256, "SHA-256", "-sha256", ".sha256", kSha256DigestSize,
     Compute<Sha256Context, Sha256Init, Sha256Update, Sha256Final>},
    {DigestKind::Sha512, "SHA-512", "-sha512", ".sha512", kSha512DigestSize,
     Compute<Sha512Context, Sha512Init, Sha512Update, Sha512Final>},
}};

const DigestInfo& DigestInfoOf(DigestKind kind) { return kDigests[static_cast<size_t>(kind)]; }
