// The HTTP content type and entity tag of a catalogue entry, both made from
// what the entry already holds: its path and its SHA-256.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// One row of the content-type table: a lowercase extension and its type.
struct ContentTypeRow {
  std::string_view extension;
  std::string_view type;
};

// The type of a file whose extension is in no row.
constexpr std::string_view kDefaultContentType = "application/octet-stream";

// Bytes of the SHA-256 that an entity tag is made of: 24 base64url characters.
constexpr size_t kEntityTagDigestBytes = 18;

// Returns every row of the table, sorted by extension.
std::span<const ContentTypeRow> ContentTypeRows();

// Returns the type of the path's last extension (after the last "." of its
// last part, not a leading one), ASCII case ignored; kDefaultContentType for
// a path without one or with one in no row.
std::string_view ContentTypeOf(std::string_view path);

// Returns a strong entity tag: a quote, base64url (RFC 4648, no padding) of
// the digest's first kEntityTagDigestBytes bytes, a quote.
std::string EntityTagOf(const unsigned char* sha256);
