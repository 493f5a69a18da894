#include "platform/path.h"

#include "platform/file_primitives.h"

const char kPathSeparator = kNativeSeparator;

std::string_view FileNameOf(std::string_view path) {
  // Input paths may be written with either separator on every platform.
  const size_t last = path.find_last_of("\\/");
  return last == std::string_view::npos ? path : path.substr(last + 1);
}

size_t NameStartOf(std::string_view path) {
  const size_t last = path.rfind(kPathSeparator);
  return last == std::string_view::npos ? 0 : last + 1;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  path += folder;
  path += kPathSeparator;
  path += name;
  return path;
}

std::string StripTrailingSeparators(std::string folder) {
  while (!folder.empty() && folder.back() == kPathSeparator)
    folder.pop_back();
  return folder;
}

std::string LowercaseAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}
