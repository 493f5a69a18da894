// The -incbin form of a data source: the assembler includes the input file
// when the generated source is compiled, so the compiler never parses its
// bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "codegen/data_source.h"
#include "codegen/style.h"

// Bytes of the SHA-256 digest that an -incbin source carries in a comment.
constexpr size_t kIncbinDigestSize = 32;

// The file that an -incbin source names, as it was when it was converted.
struct IncbinFile {
  std::string path;  // absolute, as the machine that builds the source sees it
  std::array<unsigned char, kIncbinDigestSize> sha256{};
};

// Returns the name that the assembler knows the data array by, before any
// platform's label prefix: the Itanium mangling of its namespace and
// identifier ("_ZN4Data3skyE"), or the identifier alone without a namespace.
std::string MangledDataName(const std::string& identifier, const SourceStyle& style);

// Returns `path` as the text between the quotes of an assembler string:
// "\" and '"' escaped, every control byte as a three-digit octal escape.
std::string AssemblerQuoted(const std::string& path);

// Returns the text that defines the data of `size` bytes by including the
// file: in its own file (banner, namespace, a global symbol under the
// mangled name) or as a part of a catalogue (a symbol local to its object).
std::string BuildIncbinText(const IncbinFile& file, uint64_t size, const std::string& identifier,
                            const SourceStyle& style, ArrayPlace place);
