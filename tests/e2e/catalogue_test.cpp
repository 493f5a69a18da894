// Catalogues compiled into one program give back every file of a tree, with its SHA-256, found by its path: in each
// namespace form, as brace lists, string literals and -incbin, aligned, compressed, with g++ and Clang, as C++17, 20
// and 23; and the folders of one listed as a program browses them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

#include "digest/digest.h"
#include "support/hex.h"
#include "support/run.h"
#include "support/temp_folder.h"

namespace {

// Names that could break a literal or a comment, in subfolders, an empty file and a large random one.
std::map<std::string, std::string> Tree() {
  std::string random(1 << 20, '\0');
  std::generate(random.begin(), random.end(), std::mt19937(21));
  return {{"ui/icon.png", "\x89PNG\0\x01"},
          {"ui/sub/deep.bin", "deep"},
          {"empty", ""},
          {"big.bin", random},
          {"q\"uote", "\""},
          {"back\\slash", "\\"},
          {"c*/d", "comment end"},
          {"with space.txt", "s p"},
          {"\xe6\x97\xa5\xe6\x9c\xac.txt", "utf-8"},
          {"new\nline", "\n"},
          {"\?\?=tri", "\?\?="},
          {"page.html", std::string(4000, '<')}};
}

// Each catalogue: the options before its -index, its name, its qualified name and the alignment of its data.
const std::tuple<std::vector<std::string>, std::string, std::string, int> kForms[] = {
    {{}, "plain", "Data::plain", 1},
    {{"-str"}, "lit", "Data::lit", 1},
    {{"-align", "64"}, "aligned", "Data::aligned", 64},
    {{"-ns", "a::b"}, "nested", "a::b::nested", 1},
    {{"-nons"}, "bare", "bare", 1},
    {{"-incbin", "-align", "32"}, "included", "included", 32},
    {{"-compress"}, "packed", "packed", 32}};

const char kWalker[] = R"(
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
// Prints each entry: hex path, hex SHA-256, size, and whether its bytes, lookup and alignment hold. A gzip entry must
// inflate into its size and no less and refuse a damaged copy; a plain one inflates into a copy.
template <class Entry>
void Walk(const char* name, const Entry* table, std::size_t count, const Entry* (*find)(std::string_view),
          std::uintptr_t alignment, bool (*inflate)(const Entry&, unsigned char*, std::size_t) = nullptr) {
  for (std::size_t i = 0; i < count; ++i) {
    Entry entry = table[i];
    std::vector<unsigned char> out(entry.original_size), damaged(entry.data, entry.data + entry.size);
    if (entry.gzip) {
      std::printf(inflate(entry, out.data(), out.size() - 1) ? "short buffer taken " : "gzip ");
      damaged[entry.size / 2] ^= 1;
      if (inflate({entry.path, damaged.data(), entry.size, entry.sha256, {}, {}, true, entry.original_size},
                  out.data(), out.size()) || !inflate(entry, out.data(), out.size()))
        std::printf("inflate wrong ");
      entry.data = out.data();
      entry.size = out.size();
    } else if (inflate && (!inflate(entry, out.data(), out.size()) || !std::equal(out.begin(), out.end(), entry.data))) {
      std::printf("inflate wrong ");
    }
    std::ifstream file("assets/" + std::string(entry.path), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::printf("%s ", name);
    for (char c : entry.path) std::printf("%02x", static_cast<unsigned char>(c));
    std::printf(" ");
    for (int j = 0; j < 32; ++j) std::printf("%02x", entry.sha256[j]);
    const bool same = bytes.size() == entry.size && std::string(reinterpret_cast<const char*>(entry.data), entry.size) == bytes;
    std::printf(" %zu%s%s%s\n", entry.size, same ? "" : " differs", find(entry.path) == &table[i] ? "" : " lost",
                reinterpret_cast<std::uintptr_t>(table[i].data) % alignment ? " misaligned" : "");
  }
  std::printf("%s %s\n", name, find("ui") || find("no such path") ? "finds absent paths" : "end");
}
// Prints the tree as tree_list() shows it, depth first: each folder's path and "/", each file's path.
void List(const std::string& folder) {
  for (const tree_child& child : tree_list(folder)) {
    const std::string path = folder.empty() ? std::string(child.name) : folder + "/" + std::string(child.name);
    if (!child.entry) {
      std::printf("%s/%s\n", path.c_str(), tree_is_folder(path) ? "" : " not a folder");
      List(path);
      continue;
    }
    std::printf("%s%s\n", path.c_str(), tree_find(path) == child.entry ? "" : " lost");
  }
}
// Lists the tree, then what each folder of the command line holds.
void Browse(int count, char** folders) {
  List("");
  for (int i = 1; i < count; ++i) {
    std::printf("[%s] under", folders[i]);
    for (const tree_entry& entry : tree_under(folders[i]))
      std::printf(" %.*s", int(entry.path.size()), entry.path.data());
    const tree_child_range list = tree_list(folders[i]);
    int walked = 0;  // by hand, as against the range's length
    for (tree_child_iterator child = list.first; !(child == list.last); child++)
      walked += child->name.empty() ? 0 : 1;
    std::printf(", %d listed, %s\n", walked == list.end() - list.begin() ? walked : -1,
                tree_is_folder(folders[i]) ? "folder" : "no");
  }
  std::printf("none: %d %d %d\n", int(none_under("").end() - none_under("").begin()),
              int(none_list("").end() - none_list("").begin()), none_is_folder(""));
}
int main(int count, char** folders) {
)";

std::string Line(const std::string& name, const std::string& path, const std::string& bytes) {
  unsigned char digest[kSha256DigestSize];
  DigestInfoOf(DigestKind::Sha256).compute(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
  return name + " " + Hex(path) + " " + Hex({reinterpret_cast<const char*>(digest), sizeof digest}) + " " +
         std::to_string(bytes.size()) + "\n";
}

// Folders whose names share a start ("a", "a.b", "ab"), and nested ones, in byte order, for the catalogue that the
// program lists. The content types and ETags that a compiled catalogue gives are checked by the web example's test.
const std::string kFolderTree[] = {"a!/x.tar.gz", "a.b", "a/b/c", "a/b/page.Html", "a/s.css", "ab", "app.mjs"};

// Each folder asked for, and what the program says of it.
const std::pair<std::string, std::string> kAsked[] = {{"a", " a/b/c a/b/page.Html a/s.css, 2 listed, folder"},
                                                      {"a/", " a/b/c a/b/page.Html a/s.css, 2 listed, folder"},
                                                      {"a/b", " a/b/c a/b/page.Html, 2 listed, folder"},
                                                      {"a!", " a!/x.tar.gz, 1 listed, folder"},
                                                      {"a.b", ", 0 listed, no"},
                                                      {"a/b/c", ", 0 listed, no"},
                                                      {"b", ", 0 listed, no"},
                                                      {"",
                                                       " a!/x.tar.gz a.b a/b/c a/b/page.Html a/s.css ab app.mjs, "
                                                       "5 listed, folder"}};

// Writes each file under the folder, holding its bytes.
void SpillTree(const std::string& folder, const std::map<std::string, std::string>& files) {
  for (const auto& [path, bytes] : files) {
    std::filesystem::create_directories(std::filesystem::path(folder + "/" + path).parent_path());
    Spill(folder + "/" + path, bytes);
  }
}

TEST(Catalogue, CompiledCataloguesHoldEveryFileOfTheTreeAndListItsFolders) {
  const ScratchFolder folder;
  const std::map<std::string, std::string> tree = Tree();
  SpillTree(folder / "assets", tree);
  std::map<std::string, std::string> listed;
  for (const std::string& path : kFolderTree)
    listed[path] = path;
  SpillTree(folder / "listed", listed);
  std::vector<std::string> arguments;
  std::string includes = "#include \"tree.h\"\n", body, expected;
  const bool compresses = RunBinary({"-q", "-compress"}, {.folder = folder.path()}).exitCode == 0;
  for (const auto& [options, name, qualified, alignment] : kForms) {
    if (name == "packed" && !compresses)
      continue;
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.insert(arguments.end(), {"-index", name, "-p", "assets", ""});
    includes += "#include \"" + name + ".h\"\n";
    body += "  Walk(\"" + name + "\", " + qualified + ", " + qualified + "_count, " + qualified + "_find, " +
            std::to_string(alignment) + (name == "packed" ? ", packed_inflate);\n" : ");\n");
    for (const auto& [path, bytes] : tree)
      expected += (name == "packed" && path == "page.html" ? "gzip " : "") + Line(name, path, bytes);
    expected += name + " end\n";
  }
  // An empty catalogue, and the one that the program lists.
  arguments.insert(arguments.end(), {"-index", "none", "-index", "tree", "-p", "listed", ""});
  includes += "#include \"none.h\"\n";
  body += "  Walk(\"none\", none, none_count, none_find, 1);\n";
  // Each folder's entries sorted by name in byte order.
  expected += "none end\na/\na/b/\na/b/c\na/b/page.Html\na/s.css\na!/\na!/x.tar.gz\na.b\nab\napp.mjs\n";
  std::string folders;
  for (const auto& [path, answer] : kAsked) {
    folders += " '" + path + "'";
    expected += "[" + path + "] under" + answer + "\n";
  }
  expected += "none: 0 0 1\n";
  ASSERT_EQ(RunBinary(arguments, {.folder = folder.path()}).exitCode, 0);
  // A second run finds every byte the same, the compressed ones too.
  EXPECT_EQ(RunBinary(arguments, {.folder = folder.path()}).output.find("Output filepath"), std::string::npos);
  // The program's own includes come last, so that every generated header must include what it uses.
  Spill(folder / "main.cpp", includes + kWalker + body + "  Browse(count, folders);\n}\n");
  // C++17 with both compilers, and the later standards (Clang 14 knows C++23 as c++2b).
  const std::pair<std::string, const char*> builds[] = {
      {HEXLOOM_CXX_COMPILER, "c++17"}, {"clang++", "c++17"}, {HEXLOOM_CXX_COMPILER, "c++20"}, {"clang++", "c++2b"}};
  const std::string build = " -pedantic-errors -Wall -Wextra -Werror -o walk *.cpp -lz 2>&1 && ./walk" + folders;
  for (const auto& [compiler, standard] : builds) {
    if (compiler == "clang++" && Shell("command -v clang++").empty())
      continue;
    EXPECT_EQ(Shell(compiler + " -std=" + standard + build, folder.path()), expected) << compiler << " " << standard;
  }
  // Nothing of a catalogue is initialised when the program starts.
  EXPECT_EQ(Shell("g++ -std=c++17 -O0 -c tree.cpp && nm tree.o | grep -c _GLOBAL__sub_I", folder.path()), "0\n");
}

}  // namespace
