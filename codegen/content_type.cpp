#include "codegen/content_type.h"

#include <algorithm>

#include "platform/path.h"

namespace {

// Sorted by extension, so that a lookup is a binary search.
constexpr ContentTypeRow kContentTypes[] = {
    {"avif", "image/avif"},
    {"bmp", "image/bmp"},
    {"css", "text/css; charset=utf-8"},
    {"csv", "text/csv; charset=utf-8"},
    {"gif", "image/gif"},
    {"htm", "text/html; charset=utf-8"},
    {"html", "text/html; charset=utf-8"},
    {"ico", "image/x-icon"},
    {"jpeg", "image/jpeg"},
    {"jpg", "image/jpeg"},
    {"js", "text/javascript; charset=utf-8"},
    {"json", "application/json"},
    {"map", "application/json"},
    {"md", "text/markdown; charset=utf-8"},
    {"mjs", "text/javascript; charset=utf-8"},
    {"mp3", "audio/mpeg"},
    {"mp4", "video/mp4"},
    {"ogg", "audio/ogg"},
    {"otf", "font/otf"},
    {"pdf", "application/pdf"},
    {"png", "image/png"},
    {"svg", "image/svg+xml"},
    {"ttf", "font/ttf"},
    {"txt", "text/plain; charset=utf-8"},
    {"wasm", "application/wasm"},
    {"wav", "audio/wav"},
    {"webm", "video/webm"},
    {"webp", "image/webp"},
    {"woff", "font/woff"},
    {"woff2", "font/woff2"},
    {"xml", "application/xml"},
    {"zip", "application/zip"},
};

constexpr char kBase64Url[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr size_t kBitsPerCharacter = 6;
constexpr size_t kBytesPerGroup = 3;

}  // namespace

std::span<const ContentTypeRow> ContentTypeRows() {
  return kContentTypes;
}

std::string_view ContentTypeOf(std::string_view path) {
  const std::string_view name = path.substr(path.rfind('/') + 1);
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0)
    return kDefaultContentType;
  const std::string extension = LowercaseAscii(std::string(name.substr(dot + 1)));
  const auto* row = std::lower_bound(std::begin(kContentTypes), std::end(kContentTypes), extension,
                                     [](const ContentTypeRow& a, const std::string& b) { return a.extension < b; });
  return row != std::end(kContentTypes) && row->extension == extension ? row->type : kDefaultContentType;
}

std::string EntityTagOf(const unsigned char* sha256) {
  static_assert(kEntityTagDigestBytes % kBytesPerGroup == 0, "no padding");
  std::string tag = "\"";
  for (size_t i = 0; i < kEntityTagDigestBytes; i += kBytesPerGroup) {
    const unsigned group = unsigned{sha256[i]} << 16 | unsigned{sha256[i + 1]} << 8 | sha256[i + 2];
    for (size_t shift = 3 * kBitsPerCharacter;; shift -= kBitsPerCharacter) {
      tag += kBase64Url[(group >> shift) & 63];
      if (shift == 0)
        break;
    }
  }
  return tag + "\"";
}
