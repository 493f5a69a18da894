#include "convert/output_format.h"

std::optional<DigestKind> DigestOf(OutputFormat format) {
  switch (format) {
    case OutputFormat::Md5: return DigestKind::Md5;
    case OutputFormat::Sha1: return DigestKind::Sha1;
    case OutputFormat::Sha256: return DigestKind::Sha256;
    case OutputFormat::Sha512: return DigestKind::Sha512;
    case OutputFormat::Cpp:
    case OutputFormat::Cxx: break;
  }
  return std::nullopt;
}

std::optional<DigestKind> DigestOf(ContentSource source) {
  switch (source) {
    case ContentSource::Md5: return DigestKind::Md5;
    case ContentSource::Sha1: return DigestKind::Sha1;
    case ContentSource::Sha256: return DigestKind::Sha256;
    case ContentSource::Sha512: return DigestKind::Sha512;
    case ContentSource::Cpp:
    case ContentSource::Cxx: break;
  }
  return std::nullopt;
}

std::optional<DigestKind> SubstitutedDigest(OutputFormat format, ContentSource source) {
  // The format options set both values as a pair: a checksum format always
  // digests the file's own bytes.
  if (DigestOf(source) == DigestOf(format))
    return std::nullopt;
  return DigestOf(source);
}
