#include "codegen/catalogue_inflate.h"

#include <string_view>

#include "codegen/catalogue_folders.h"

namespace {

// With NAME for the catalogue's name. A damaged member fails zlib's check
// of its CRC and length; a member that gives more or fewer bytes than the
// entry says, or that is followed by more, fails the counts.
constexpr std::string_view kInflate = R"(
bool NAME_inflate(const NAME_entry& entry, unsigned char* out, std::size_t capacity) noexcept {
  if (capacity < entry.original_size)
    return false;
  if (!entry.gzip) {
    if (entry.size != 0)
      std::memcpy(out, entry.data, entry.size);
    return true;
  }
  z_stream stream{};
  // 16 + 15: a gzip member, with zlib's largest window.
  if (inflateInit2(&stream, 16 + 15) != Z_OK)
    return false;
  // zlib counts in unsigned int: larger entries go through in slices.
  const std::size_t slice = std::size_t(1) << 30;
  std::size_t in_left = entry.size;
  std::size_t out_left = entry.original_size;
  stream.next_in = const_cast<unsigned char*>(entry.data);
  stream.next_out = out;
  int status = Z_OK;
  while (status == Z_OK) {
    const std::size_t in_slice = in_left < slice ? in_left : slice;
    const std::size_t out_slice = out_left < slice ? out_left : slice;
    stream.avail_in = static_cast<unsigned int>(in_slice);
    stream.avail_out = static_cast<unsigned int>(out_slice);
    status = inflate(&stream, Z_NO_FLUSH);
    in_left -= in_slice - stream.avail_in;
    out_left -= out_slice - stream.avail_out;
  }
  inflateEnd(&stream);
  return status == Z_STREAM_END && in_left == 0 && out_left == 0;
}
)";

}  // namespace

std::string CatalogueInflateIncludes() {
  return "#include <cstring>\n\n#include <zlib.h>\n\n";
}

void AppendCatalogueInflateDeclaration(std::string& header, const std::string& name) {
  header += WithCatalogueName(
      "// Fills out with the file's bytes: inflated when gzip, copied when not. Returns false when capacity\n"
      "// is less than entry.original_size or the data is damaged. Link zlib.\n"
      "bool NAME_inflate(const NAME_entry& entry, unsigned char* out, std::size_t capacity) noexcept;\n",
      name);
}

std::string CatalogueInflateText(const std::string& name) {
  return WithCatalogueName(kInflate, name);
}
