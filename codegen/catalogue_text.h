// The texts of a catalogue: a header and a source that hold many files'
// bytes and find them by path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/data_source.h"
#include "codegen/style.h"
#include "platform/byte_buffer.h"

// Bytes of the SHA-256 digest that each entry carries.
constexpr size_t kCatalogueDigestSize = 32;

// One file of a catalogue, as its text needs it.
struct CatalogueItem {
  std::string_view path;        // the lookup key, "/" between folders
  const ByteBuffer* bytes;      // must outlive the text
  const unsigned char* sha256;  // kCatalogueDigestSize bytes
  SourceStyle style;            // shapes the item's array
  std::string_view incbinPath;  // the file's absolute path, for a style with -incbin
  bool gzip = false;            // bytes holds a gzip member of the file's bytes
  uint64_t originalSize = 0;    // of the file's bytes
};

// Returns the header of the catalogue `name`: the entry type, the table,
// its count and the lookup function, in the namespace of `style`; with
// `inflates`, name_inflate too.
std::string BuildCatalogueHeader(const std::string& name, const SourceStyle& style, bool inflates = false);

// The source text of a catalogue, produced front to back in pieces like
// DataSourceText. The items must be sorted by path in byte order, hold no
// path twice, and outlive it. With `inflates`, the source defines
// name_inflate and includes zlib.
class CatalogueSourceText {
 public:
  CatalogueSourceText(const std::string& name, const SourceStyle& style, const std::vector<CatalogueItem>& items,
                      bool inflates = false);

  // Returns the length of the whole text.
  uint64_t size() const { return size_; }
  // Writes the next piece of the text into `out` (at least
  // DataSourceText::kMinPieceCapacity long); returns its length, 0 once the
  // whole text has been produced.
  size_t Next(char* out, size_t capacity);
  // Starts the text again from its beginning.
  void Rewind();

 private:
  std::string head_;    // banner to the opening of the unnamed namespace
  std::string middle_;  // the content type constants and the end of the unnamed namespace
  std::string tail_;    // the table and what follows it
  ByteBuffer digests_;
  std::vector<DataSourceText> arrays_;  // every item's, then the digests'
  uint64_t size_ = 0;
  size_t headDone_ = 0;
  size_t arraysDone_ = 0;
  size_t middleDone_ = 0;
  size_t tailDone_ = 0;
};
