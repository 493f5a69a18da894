#include "codegen/catalogue_text.h"

#include <algorithm>
#include <cstring>

#include "codegen/banner.h"
#include "codegen/catalogue_folders.h"
#include "codegen/catalogue_inflate.h"
#include "codegen/content_type.h"
#include "codegen/incbin_text.h"
#include "codegen/string_literal.h"

namespace {

static_assert(kCatalogueDigestSize == kIncbinDigestSize);

// Copies what is left of `part` into the piece; true once all of it is out.
bool CopyPart(const std::string& part, size_t& done, char*& out, const char* end) {
  const size_t length = std::min(part.size() - done, static_cast<size_t>(end - out));
  std::memcpy(out, part.data() + done, length);
  out += length;
  done += length;
  return done == part.size();
}

// Room for an entry's row of the table and of the folders' children
// beside its path and names, and for the text after them, so that the tail
// of a large catalogue is made without copying it as it grows.
constexpr size_t kRowRoom = 224;
constexpr size_t kFunctionsRoom = 8 << 10;

}  // namespace

std::string BuildCatalogueHeader(const std::string& name, const SourceStyle& style, bool inflates) {
  std::string text;
  AppendBanner(text);
  text += "#pragma once\n\n#include <cstddef>\n#include <iterator>\n#include <string_view>\n\n";
  if (!style.noNamespace)
    AppendNamespaceOpen(text, style);
  const std::string entry = name + "_entry";
  text += "// One embedded file: its path (\"/\" between folders), its bytes and their SHA-256.\n";
  text += "struct " + entry + " {\n";
  text += "  std::string_view path;\n  const unsigned char* data;\n  std::size_t size;\n";
  text += "  const unsigned char* sha256;  // 32 bytes\n";
  text += "  std::string_view content_type;  // for HTTP, from the last extension of the path\n";
  text += "  std::string_view etag;          // a strong HTTP ETag of the bytes, quotes included\n";
  text += "  bool gzip;                      // data holds a gzip member of the file's bytes (-compress)\n";
  text += "  std::size_t original_size;      // of the file's bytes: size unless gzip\n};\n";
  text += "// Every entry, sorted by path in byte order: the entries under a folder such as \"ui/\" are\n";
  text += "// contiguous, from the first path that is not less than \"ui/\" to the first that doesn't start with it.\n";
  text += "extern const " + entry + " " + name + "[];\n";
  text += "// The number of entries in " + name + ".\n";
  text += "extern const std::size_t " + name + "_count;\n";
  text += "// Returns the entry with exactly this path, or nullptr when there is none (a binary search).\n";
  text += "const " + entry + "* " + name + "_find(std::string_view path) noexcept;\n";
  AppendCatalogueFolderDeclarations(text, name);
  if (inflates)
    AppendCatalogueInflateDeclaration(text, name);
  if (!style.noNamespace)
    text += "}\n";
  return text;
}

CatalogueSourceText::CatalogueSourceText(const std::string& name, const SourceStyle& style,
                                         const std::vector<CatalogueItem>& items, bool inflates) {
  AppendBanner(head_);
  head_ += "#include \"" + name + ".h\"\n\n";
  if (inflates)
    head_ += CatalogueInflateIncludes();
  if (!style.noNamespace)
    AppendNamespaceOpen(head_, style);
  // The data has internal linkage: no two catalogues, and no file converted
  // on its own, can meet on a name.
  head_ += "namespace {\n\n";

  const std::string digestsName = name + "_sha256";
  std::vector<std::string_view> paths;
  // Each content type is written once and copied into its entries: a
  // constant copied is cheaper for the compiler than a view made anew.
  std::vector<std::string_view> types;
  std::string typeConstants;
  std::string table = "const " + name + "_entry " + name + (items.empty() ? "[1] = {};\n" : "[] = {\n");
  size_t room = kFunctionsRoom;
  for (const CatalogueItem& item : items)
    room += kRowRoom + 4 * name.size() + 3 * item.path.size();
  table.reserve(table.size() + room);
  unsigned char* digests = digests_.Allocate(items.size() * kCatalogueDigestSize);
  // One block for every array's text, and the digests': one each would be
  // as many allocations as files.
  arrays_.reserve(items.size() + 1);
  for (size_t i = 0; i < items.size(); ++i) {
    const CatalogueItem& item = items[i];
    // Only the options that shape the array text apply to an entry.
    SourceStyle arrayStyle = item.style;
    arrayStyle.useVector = arrayStyle.dynamicData = arrayStyle.digestComment = false;
    // The assembler can only include the file as it is, not its gzip member.
    if (item.gzip && arrayStyle.incbin) {
      arrayStyle.incbin = false;
      arrayStyle.stringLiteral = true;
    }
    const std::string identifier = name + "_" + std::to_string(i);
    IncbinFile file{std::string(item.incbinPath), {}};
    std::memcpy(file.sha256.data(), item.sha256, kCatalogueDigestSize);
    arrays_.emplace_back(*item.bytes, identifier, arrayStyle, ArrayPlace::CataloguePart, &file);
    std::memcpy(digests + i * kCatalogueDigestSize, item.sha256, kCatalogueDigestSize);
    // Addresses of arrays and literals only: the table is constant-initialised.
    // The length is written out: GCC won't count a literal's characters at
    // compile time, and would initialise the table when the program starts.
    const std::string_view type = ContentTypeOf(item.path);
    const size_t typeIndex = static_cast<size_t>(std::find(types.begin(), types.end(), type) - types.begin());
    if (typeIndex == types.size()) {
      types.push_back(type);
      typeConstants += "constexpr std::string_view " + name + "_type" + std::to_string(typeIndex) + "(\"" +
                       std::string(type) + "\", " + std::to_string(type.size()) + ");\n";
    }
    // Appended part by part: a row made of temporaries costs a catalogue of
    // many small files more than their bytes.
    table += "  {";
    AppendViewLiteral(table, item.path);
    table += ", ";
    table += identifier;
    table += ", ";
    AppendDecimal(table, item.bytes->size());
    table += ", ";
    table += digestsName;
    table += " + ";
    AppendDecimal(table, i * kCatalogueDigestSize);
    table += ", ";
    table += name;
    table += "_type";
    AppendDecimal(table, typeIndex);
    table += ", ";
    AppendViewLiteral(table, EntityTagOf(item.sha256));
    table += ", ";
    table += item.gzip ? "true" : "false";
    table += ", ";
    AppendDecimal(table, item.originalSize);
    table += "},\n";
    paths.push_back(item.path);
  }
  if (!items.empty()) {
    // One literal row a digest; an empty catalogue has no digest to hold,
    // and an unused array would draw a warning.
    SourceStyle digestStyle;
    digestStyle.stringLiteral = digestStyle.rowWidthChosen = true;
    digestStyle.rowWidth = static_cast<int32_t>(kCatalogueDigestSize);
    digestStyle.tabSize = style.tabSize;
    arrays_.emplace_back(digests_, digestsName, digestStyle, ArrayPlace::CataloguePart);
    table += "};\n";
  }

  middle_ = (typeConstants.empty() ? "" : "\n" + typeConstants) + "\n}  // namespace\n\n";
  // The table is the tail's start, not copied into it.
  tail_ = std::move(table);
  tail_ += "const std::size_t " + name + "_count = " + std::to_string(items.size()) + ";\n\n";
  tail_ += "const " + name + "_entry* " + name + "_find(std::string_view path) noexcept {\n";
  tail_ += "  std::size_t low = 0;\n  std::size_t high = " + name + "_count;\n";
  tail_ += "  while (low < high) {\n    const std::size_t middle = low + (high - low) / 2;\n";
  tail_ += "    const int order = " + name + "[middle].path.compare(path);\n";
  tail_ += "    if (order == 0)\n      return &" + name + "[middle];\n";
  tail_ += "    if (order < 0)\n      low = middle + 1;\n    else\n      high = middle;\n  }\n";
  tail_ += "  return nullptr;\n}\n";
  AppendCatalogueFolderText(tail_, name, paths);
  if (inflates)
    tail_ += CatalogueInflateText(name);
  if (!style.noNamespace)
    tail_ += "}\n";

  size_ = head_.size() + middle_.size() + tail_.size();
  for (const DataSourceText& array : arrays_)
    size_ += array.size();
}

void CatalogueSourceText::Rewind() {
  headDone_ = arraysDone_ = middleDone_ = tailDone_ = 0;
  for (DataSourceText& array : arrays_)
    array.Rewind();
}

size_t CatalogueSourceText::Next(char* out, size_t capacity) {
  char* cursor = out;
  const char* end = out + capacity;
  if (!CopyPart(head_, headDone_, cursor, end))
    return static_cast<size_t>(cursor - out);
  // Arrays share a piece while each finds a piece's worth of room: with less
  // an array could return 0 before its end. Many small arrays (a catalogue
  // of icons) then cost a few pieces, not one each.
  while (arraysDone_ < arrays_.size()) {
    const size_t room = static_cast<size_t>(end - cursor);
    if (cursor != out && room < DataSourceText::kMinPieceCapacity)
      return static_cast<size_t>(cursor - out);
    if (const size_t length = arrays_[arraysDone_].Next(cursor, room))
      cursor += length;
    else
      ++arraysDone_;
  }
  if (CopyPart(middle_, middleDone_, cursor, end))
    CopyPart(tail_, tailDone_, cursor, end);
  return static_cast<size_t>(cursor - out);
}
