// Which files a conversion produces, and from which bytes.
#pragma once

#include <cstdint>
#include <optional>

#include "digest/digest.h"

// Which files a conversion produces.
enum class OutputFormat : int32_t { Cpp = 0, Cxx = 1, Md5 = 2, Sha1 = 3, Sha256 = 4, Sha512 = 5 };

// Where the emitted bytes come from: the file itself when it names the same
// thing as the output format, otherwise the digest that it names.
enum class ContentSource : int32_t { Cpp = 0, Cxx = 1, Md5 = 2, Sha1 = 3, Sha256 = 4, Sha512 = 5 };

// Returns the digest of a checksum format; none for Cpp and Cxx.
std::optional<DigestKind> DigestOf(OutputFormat format);

// Returns the digest that a content source names; none for Cpp and Cxx.
std::optional<DigestKind> DigestOf(ContentSource source);

// Returns the digest that replaces the file's bytes before the C++ text is
// made; none when the file's own bytes are used.
std::optional<DigestKind> SubstitutedDigest(OutputFormat format, ContentSource source);
