#include "codegen/catalogue_folders.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "codegen/string_literal.h"

namespace {

// A child is written as an entry at or below it and where its name starts
// in that entry's path: rows of integers cost the compiler a fraction of
// what rows of views do.
struct Child {
  std::string_view name;
  size_t entry;  // the file, or the first entry below the subfolder
  size_t start;  // of the name in the entry's path
  bool isFolder = false;
};

std::string_view ParentOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

size_t LastPartStart(std::string_view path) {
  return path.rfind('/') + 1;
}

std::string_view LastPartOf(std::string_view path) {
  return path.substr(LastPartStart(path));
}

// Every folder that holds an entry, and "", by path in byte order, each
// with its children sorted by name (a file before a folder of its name).
std::map<std::string_view, std::vector<Child>> FoldersOf(const std::vector<std::string_view>& paths) {
  std::map<std::string_view, std::vector<Child>> folders;
  std::vector<Child>* siblings = &folders[""];
  std::string_view parent;
  for (size_t i = 0; i < paths.size(); ++i) {
    // The paths come in byte order, so most share the parent of the one
    // before (the first, ""); only a new parent is looked up, with its
    // folders above.
    if (ParentOf(paths[i]) != parent) {
      parent = ParentOf(paths[i]);
      // From the top down, so that a folder's parent is filed before it.
      for (size_t slash = paths[i].find('/'); slash != std::string_view::npos; slash = paths[i].find('/', slash + 1)) {
        const std::string_view folder = paths[i].substr(0, slash);
        if (folders.try_emplace(folder).second)
          folders[ParentOf(folder)].push_back({LastPartOf(folder), i, LastPartStart(folder), true});
      }
      siblings = &folders[parent];
    }
    siblings->push_back({LastPartOf(paths[i]), i, LastPartStart(paths[i])});
  }
  const auto byName = [](const Child& a, const Child& b) {
    return std::tuple(a.name, a.isFolder) < std::tuple(b.name, b.isFolder);
  };
  for (auto& [path, children] : folders) {
    if (!std::is_sorted(children.begin(), children.end(), byName))
      std::sort(children.begin(), children.end(), byName);
  }
  return folders;
}

// The functions, with NAME for the catalogue's name. The entries below a
// folder are found as one range by a search that narrows on both sides once
// it meets one of them.
constexpr std::string_view kFunctions = R"(
// Returns the path without one trailing "/".
std::string_view NAME_folder_path(std::string_view path) noexcept {
  if (!path.empty() && path.back() == '/')
    path.remove_suffix(1);
  return path;
}

// Returns how the path sorts against the folder's path and a "/": 0 for a path below the folder.
int NAME_below(std::string_view path, std::string_view folder) noexcept {
  const int order = path.substr(0, folder.size()).compare(folder);
  if (order != 0 || path.size() == folder.size())
    return order != 0 ? order : -1;
  return path[folder.size()] == '/' ? 0 : (static_cast<unsigned char>(path[folder.size()]) < '/' ? -1 : 1);
}

// Returns the folder with this path, or nullptr.
const NAME_folder* NAME_folder_of(std::string_view path) noexcept {
  path = NAME_folder_path(path);
  std::size_t low = 0;
  std::size_t high = sizeof NAME_folders / sizeof NAME_folders[0];
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    const int order = NAME_folders[middle].path.compare(path);
    if (order == 0)
      return &NAME_folders[middle];
    if (order < 0)
      low = middle + 1;
    else
      high = middle;
  }
  return nullptr;
}

}  // namespace

NAME_entry_range NAME_under(std::string_view folder) noexcept {
  folder = NAME_folder_path(folder);
  std::size_t low = 0;
  std::size_t high = NAME_count;
  if (folder.empty())
    return {NAME, NAME + high};
  while (low < high) {
    std::size_t first = low + (high - low) / 2;
    const int order = NAME_below(NAME[first].path, folder);
    if (order < 0) {
      low = first + 1;
    } else if (order > 0) {
      high = first;
    } else {
      std::size_t last = first + 1;
      while (low < first) {
        const std::size_t middle = low + (first - low) / 2;
        if (NAME_below(NAME[middle].path, folder) < 0)
          low = middle + 1;
        else
          first = middle;
      }
      while (last < high) {
        const std::size_t middle = last + (high - last) / 2;
        if (NAME_below(NAME[middle].path, folder) == 0)
          last = middle + 1;
        else
          high = middle;
      }
      return {NAME + first, NAME + last};
    }
  }
  return {NAME + low, NAME + low};
}

NAME_child_range NAME_list(std::string_view folder) noexcept {
  const NAME_folder* found = NAME_folder_of(folder);
  if (!found)
    return {{nullptr, {}}, {nullptr, {}}};
  return {{NAME_children + found->first, {}}, {NAME_children + found->last, {}}};
}

bool NAME_is_folder(std::string_view path) noexcept {
  return NAME_folder_of(path) != nullptr;
}
)";

}  // namespace

std::string WithCatalogueName(std::string_view text, const std::string& name) {
  std::string out;
  for (size_t at = 0;;) {
    const size_t found = text.find("NAME", at);
    out.append(text.substr(at, found - at));
    if (found == std::string_view::npos)
      return out;
    out += name;
    at = found + std::string_view("NAME").size();
  }
}

void AppendCatalogueFolderDeclarations(std::string& header, const std::string& name) {
  header += WithCatalogueName(R"(// The entries from first up to last, for a range-for.
struct NAME_entry_range {
  const NAME_entry* first;
  const NAME_entry* last;
  const NAME_entry* begin() const noexcept { return first; }
  const NAME_entry* end() const noexcept { return last; }
};
// One thing in a folder, by the last part of its path: a file, or a subfolder (entry is nullptr).
struct NAME_child {
  std::string_view name;
  const NAME_entry* entry;
};
// Where a child is written: an entry at or below it, and where the child's name starts in that entry's path.
struct NAME_child_row {
  std::size_t entry;
  std::size_t start;
};
// Walks a folder's children; each is made from its row when it is read.
struct NAME_child_iterator {
  using iterator_category = std::input_iterator_tag;
  using value_type = NAME_child;
  using difference_type = std::ptrdiff_t;
  using pointer = const NAME_child*;
  using reference = const NAME_child&;
  const NAME_child_row* row;
  mutable NAME_child child;
  // Returns the child of this row, valid until the iterator moves or is read again.
  const NAME_child& operator*() const noexcept {
    const std::string_view path = NAME[row->entry].path;
    const std::size_t end = path.find('/', row->start);
    child.name = path.substr(row->start, end - row->start);
    child.entry = end == std::string_view::npos ? &NAME[row->entry] : nullptr;
    return child;
  }
  const NAME_child* operator->() const noexcept { return &**this; }
  NAME_child_iterator& operator++() noexcept {
    ++row;
    return *this;
  }
  NAME_child_iterator operator++(int) noexcept {
    const NAME_child_iterator was = *this;
    ++row;
    return was;
  }
  bool operator==(const NAME_child_iterator& other) const noexcept { return row == other.row; }
  bool operator!=(const NAME_child_iterator& other) const noexcept { return row != other.row; }
  // Returns how many children lie from other up to this one.
  difference_type operator-(const NAME_child_iterator& other) const noexcept { return row - other.row; }
};
// The children from first up to last, for a range-for.
struct NAME_child_range {
  NAME_child_iterator first;
  NAME_child_iterator last;
  NAME_child_iterator begin() const noexcept { return first; }
  NAME_child_iterator end() const noexcept { return last; }
};
// Returns every entry below the folder ("ui" or "ui/"; "" for all of them), at any depth, in the order of NAME.
NAME_entry_range NAME_under(std::string_view folder) noexcept;
// Returns the folder's own files and subfolders, each once, sorted by name in byte order; empty for no folder.
NAME_child_range NAME_list(std::string_view folder) noexcept;
// Returns true for "" and for every folder ("ui" or "ui/") that holds an entry at any depth.
bool NAME_is_folder(std::string_view path) noexcept;
)",
                              name);
}

void AppendCatalogueFolderText(std::string& text, const std::string& name, const std::vector<std::string_view>& paths) {
  const std::map<std::string_view, std::vector<Child>> folders = FoldersOf(paths);
  text += WithCatalogueName("\nnamespace {\n\n// The children of every folder, in the order of NAME_folders.\n", name);
  // A catalogue with no entry has no child, and C++ has no empty array.
  text += "const " + name + "_child_row " + name + "_children" + (paths.empty() ? "[1] = {};\n" : "[] = {\n");
  for (const auto& [path, list] : folders) {
    for (const Child& child : list) {
      text += "  {";
      AppendDecimal(text, child.entry);
      text += ", ";
      AppendDecimal(text, child.start);
      text += "},\n";
    }
  }
  if (!paths.empty())
    text += "};\n";
  text += WithCatalogueName(
      "\n// A folder's children are NAME_children from first up to last.\n"
      "struct NAME_folder {\n  std::string_view path;\n  std::size_t first;\n  std::size_t last;\n};\n\n"
      "// Every folder that holds an entry, and \"\", sorted by path in byte order.\nconst NAME_folder NAME_folders[] "
      "= {\n",
      name);
  size_t count = 0;
  for (const auto& [path, list] : folders) {
    text += "  {";
    AppendViewLiteral(text, path);
    text += ", ";
    AppendDecimal(text, count);
    text += ", ";
    AppendDecimal(text, count + list.size());
    text += "},\n";
    count += list.size();
  }
  text += "};\n";
  text += WithCatalogueName(kFunctions, name);
}
