#include "convert/listed_names.h"

#include <algorithm>

#include "platform/path.h"

namespace {

constexpr unsigned char kFirstNonAscii = 0x80;
constexpr char kShortNameMark = '~';

}  // namespace

ListedNames ListedNamesOf(const std::vector<FolderEntry>& entries) {
  ListedNames names;
  names.lowercased.reserve(entries.size());
  for (const FolderEntry& entry : entries)
    names.lowercased.push_back(LowercaseAscii(entry.name));
  std::ranges::sort(names.lowercased);
  return names;
}

bool MayHold(const ListedNames& names, std::string_view name) {
  // Windows and macOS fold the case of letters beyond ASCII too, so such a
  // name may be an entry spelt otherwise; and on Windows a name with a "~"
  // may be another entry's short name, which no listing shows.
  if (std::ranges::any_of(name, [](char byte) { return static_cast<unsigned char>(byte) >= kFirstNonAscii; }) ||
      name.find(kShortNameMark) != std::string_view::npos)
    return true;
  return std::ranges::binary_search(names.lowercased, LowercaseAscii(std::string(name)));
}
