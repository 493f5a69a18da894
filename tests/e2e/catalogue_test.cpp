// Catalogues compiled into one program give back every file of a tree, with its SHA-256, found by its path: in each
// namespace form, as brace lists, string literals and -incbin, aligned, compressed, with g++ and Clang, as C++17, 20
// and 23.
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
int main() {
)";

std::string Line(const std::string& name, const std::string& path, const std::string& bytes) {
  unsigned char digest[kSha256DigestSize];
  DigestInfoOf(DigestKind::Sha256).compute(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
  return name + " " + Hex(path) + " " + Hex({reinterpret_cast<const char*>(digest), sizeof digest}) + " " +
         std::to_string(bytes.size()) + "\n";
}

TEST(Catalogue, CompiledCataloguesHoldEveryFileOfTheTree) {
  const ScratchFolder folder;
  const std::map<std::string, std::string> tree = Tree();
  for (const auto& [path, bytes] : tree) {
    std::filesystem::create_directories(std::filesystem::path(folder / "assets/" + path).parent_path());
    Spill(folder / "assets/" + path, bytes);
  }
  std::vector<std::string> arguments;
  std::string includes, body, expected;
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
  // An empty catalogue.
  arguments.insert(arguments.end(), {"-index", "none"});
  includes += "#include \"none.h\"\n";
  body += "  Walk(\"none\", none, none_count, none_find, 1);\n";
  expected += "none end\n";
  ASSERT_EQ(RunBinary(arguments, {.folder = folder.path()}).exitCode, 0);
  // A second run finds every byte the same, the compressed ones too.
  EXPECT_EQ(RunBinary(arguments, {.folder = folder.path()}).output.find("Output filepath"), std::string::npos);
  // The program's own includes come last, so that every generated header must include what it uses.
  Spill(folder / "main.cpp", includes + kWalker + body + "}\n");
  // C++17 with both compilers, and the later standards (Clang 14 knows C++23 as c++2b).
  const std::pair<std::string, const char*> builds[] = {
      {HEXLOOM_CXX_COMPILER, "c++17"}, {"clang++", "c++17"}, {HEXLOOM_CXX_COMPILER, "c++20"}, {"clang++", "c++2b"}};
  for (const auto& [compiler, standard] : builds) {
    if (compiler == "clang++" && Shell("command -v clang++").empty())
      continue;
    EXPECT_EQ(Shell("cd '" + folder.path() + "' && " + compiler + " -std=" + standard +
                    " -pedantic-errors -Wall -Wextra -Werror -o walk *.cpp -lz 2>&1 && ./walk"),
              expected)
        << compiler << " " << standard;
  }
}

}  // namespace

// Folders whose names share a start ("a", "a.b", "ab"), and nested ones, in byte order. The content types and ETags
// that a compiled catalogue gives are checked by the web example's test.
const std::string kFolderTree[] = {"a!/x.tar.gz", "a.b", "a/b/c", "a/b/page.Html", "a/s.css", "ab", "app.mjs"};

const char kBrowser[] = R"(#include "tree.h"
#include "none.h"
#include <cstdio>
#include <string>
// Prints the tree as tree_list() shows it, depth first: each folder's path and "/", each file's path.
void List(const std::string& folder) {
  for (const Data::tree_child& child : Data::tree_list(folder)) {
    const std::string path = folder.empty() ? std::string(child.name) : folder + "/" + std::string(child.name);
    if (!child.entry) {
      std::printf("%s/%s\n", path.c_str(), Data::tree_is_folder(path) ? "" : " not a folder");
      List(path);
      continue;
    }
    std::printf("%s%s\n", path.c_str(), Data::tree_find(path) == child.entry ? "" : " lost");
  }
}
int main(int count, char** folders) {
  List("");
  for (int i = 1; i < count; ++i) {
    std::printf("[%s] under", folders[i]);
    for (const Data::tree_entry& entry : Data::tree_under(folders[i]))
      std::printf(" %.*s", int(entry.path.size()), entry.path.data());
    const Data::tree_child_range list = Data::tree_list(folders[i]);
    std::printf(", %d listed, %s\n", int(list.end() - list.begin()), Data::tree_is_folder(folders[i]) ? "folder" : "no");
  }
  std::printf("none: %d %d %d\n", int(Data::none_under("").end() - Data::none_under("").begin()),
              int(Data::none_list("").end() - Data::none_list("").begin()), Data::none_is_folder(""));
}
)";

TEST(Catalogue, FoldersListedFromTheTopGiveBackTheWholeTree) {
  const ScratchFolder folder;
  for (const std::string& path : kFolderTree) {
    std::filesystem::create_directories(std::filesystem::path(folder / "assets/" + path).parent_path());
    Spill(folder / "assets/" + path, path);
  }
  ASSERT_EQ(RunBinary({"-index", "tree", "-p", "assets", "", "-index", "none"}, {.folder = folder.path()}).exitCode, 0);
  Spill(folder / "main.cpp", kBrowser);
  // Each folder's entries sorted by name in byte order.
  std::string expected = "a/\na/b/\na/b/c\na/b/page.Html\na/s.css\na!/\na!/x.tar.gz\na.b\nab\napp.mjs\n";
  std::string all;
  for (const std::string& path : kFolderTree)
    all += " " + path;
  const std::pair<std::string, std::string> asked[] = {{"a", " a/b/c a/b/page.Html a/s.css, 2 listed, folder"},
                                                       {"a/", " a/b/c a/b/page.Html a/s.css, 2 listed, folder"},
                                                       {"a/b", " a/b/c a/b/page.Html, 2 listed, folder"},
                                                       {"a!", " a!/x.tar.gz, 1 listed, folder"},
                                                       {"a.b", ", 0 listed, no"},
                                                       {"a/b/c", ", 0 listed, no"},
                                                       {"b", ", 0 listed, no"},
                                                       {"", all + ", 5 listed, folder"}};
  std::string folders;
  for (const auto& [path, answer] : asked) {
    folders += " '" + path + "'";
    expected += "[" + path + "] under" + answer + "\n";
  }
  expected += "none: 0 0 1\n";
  for (const char* compiler : {HEXLOOM_CXX_COMPILER, "clang++"}) {
    EXPECT_EQ(Shell("cd '" + folder.path() + "' && " + compiler +
                    " -std=c++17 -pedantic-errors -Wall -Wextra -Werror -o browse *.cpp 2>&1 && ./browse" + folders),
              expected)
        << compiler;
  }
  // Nothing of a catalogue is initialised when the program starts.
  EXPECT_EQ(Shell("cd '" + folder.path() + "' && g++ -std=c++17 -O0 -c tree.cpp && nm tree.o | grep -c _GLOBAL__sub_I"),
            "0\n");
}
