#include "digest/digest.h"

#include "digest/cpu_dispatch.h"

namespace {

// One engine seen through the table's function pointers.
template <typename Context, Context DigestContext::*kMember, void (*kInit)(Context&),
          void (*kUpdate)(Context&, const unsigned char*, uint64_t), void (*kFinal)(Context&, unsigned char*)>
struct Engine {
  static void Compute(const unsigned char* data, uint64_t length, unsigned char* out) {
    Context ctx;
    kInit(ctx);
    kUpdate(ctx, data, length);
    kFinal(ctx, out);
  }
  static void Init(DigestContext& ctx) { kInit(ctx.*kMember); }
  static void Update(DigestContext& ctx, const unsigned char* data, uint64_t count) {
    kUpdate(ctx.*kMember, data, count);
  }
  static void Final(DigestContext& ctx, unsigned char* out) { kFinal(ctx.*kMember, out); }
};

using Md5 = Engine<Md5Context, &DigestContext::md5, Md5Init, Md5Update, Md5Final>;
using Sha1 = Engine<Sha1Context, &DigestContext::sha1, Sha1Init, Sha1Update, Sha1Final>;
using Sha256 = Engine<Sha256Context, &DigestContext::sha256, Sha256Init, Sha256Update, Sha256Final>;
using Sha512 = Engine<Sha512Context, &DigestContext::sha512, Sha512Init, Sha512Update, Sha512Final>;

bool NeverAccelerated() {
  return false;
}

}  // namespace

const std::array<DigestInfo, 4> kDigests = {{
    {DigestKind::Md5, "MD5", "-md5", ".md5", kMd5DigestSize, Md5::Compute, kMd5BlockSize, Md5::Init, Md5::Update,
     Md5::Final, NeverAccelerated},
    {DigestKind::Sha1, "SHA-1", "-sha1", ".sha1", kSha1DigestSize, Sha1::Compute, kSha1BlockSize, Sha1::Init,
     Sha1::Update, Sha1::Final, CpuHasShaExtensions},
    {DigestKind::Sha256, "SHA-256", "-sha256", ".sha256", kSha256DigestSize, Sha256::Compute, kSha256BlockSize,
     Sha256::Init, Sha256::Update, Sha256::Final, CpuHasShaExtensions},
    {DigestKind::Sha512, "SHA-512", "-sha512", ".sha512", kSha512DigestSize, Sha512::Compute, kSha512BlockSize,
     Sha512::Init, Sha512::Update, Sha512::Final, CpuHasAvxBmi2},
}};

const DigestInfo& DigestInfoOf(DigestKind kind) {
  return kDigests[static_cast<size_t>(kind)];
}
