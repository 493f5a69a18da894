// The text of a generated data source file (.cpp or .cxx).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "codegen/string_literal.h"
#include "codegen/style.h"
#include "platform/byte_buffer.h"

// Returns the bytes as lowercase hexadecimal text, two digits a byte.
std::string LowercaseHex(const unsigned char* bytes, size_t length);

struct ElementTable;
struct IncbinFile;

// Where the array text goes: a file of its own (banner, namespace, external
// linkage), or a part of a catalogue source, already inside its namespace.
enum class ArrayPlace { OwnFile, CataloguePart };

// The data source text of a buffer in a style, produced front to back in pieces so that the text of a large
// file never has to be held whole. The buffer must outlive it. A style with -incbin needs the file that the
// buffer was read from.
class DataSourceText {
 public:
  // Pieces are asked for with at least this much room.
  static constexpr size_t kMinPieceCapacity = 64 * 1024;

  DataSourceText(const ByteBuffer& buffer, const std::string& identifier, const SourceStyle& style,
                 ArrayPlace place = ArrayPlace::OwnFile, const IncbinFile* incbin = nullptr);

  // Returns the length of the whole text.
  uint64_t size() const { return size_; }
  // Writes the next piece of the text into `out`; returns its length, 0 once
  // the whole text has been produced.
  size_t Next(char* out, size_t capacity);
  // Starts the text again from its beginning.
  void Rewind();

 private:
  void MakeHead(const std::string& identifier, const SourceStyle& style, bool longLiteral, bool part);
  uint64_t LayOutRows(const SourceStyle& style);
  void MakeTail(const SourceStyle& style, bool longLiteral, bool part);
  char* WriteRow(char* out, size_t row) const;

  std::string indent_;
  std::string head_;  // banner to the opening brace
  std::string tail_;  // from the closing brace on
  const unsigned char* bytes_;
  size_t count_;
  size_t rowWidth_;
  size_t rowCount_;
  size_t rowRoom_ = 0;  // room that WriteRow may need for one row
  const ElementTable* table_;
  std::optional<StringLiteralLayout> literal_;  // set when the data is a string literal
  uint64_t size_;
  size_t headDone_ = 0;
  size_t rowsDone_ = 0;
  size_t tailDone_ = 0;
};

// Appends the whole data source text of the buffer; never fails.
void EmitDataSource(const ByteBuffer& buffer, const std::string& identifier, const SourceStyle& style,
                    std::string& text, ArrayPlace place = ArrayPlace::OwnFile, const IncbinFile* incbin = nullptr);
