// Catalogues compiled into one program give back every file of a tree, with its SHA-256, found by its path: in each
// namespace form, as brace lists, string literals and -incbin, aligned, with g++ and Clang, as C++17, 20 and 23.
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
          {"\?\?=tri", "\?\?="}};
}

// Each catalogue: the options before its -index, its name, its qualified name and the alignment of its data.
const std::tuple<std::vector<std::string>, std::string, std::string, int> kForms[] = {
    {{}, "plain", "Data::plain", 1},
    {{"-str"}, "lit", "Data::lit", 1},
    {{"-align", "64"}, "aligned", "Data::aligned", 64},
    {{"-ns", "a::b"}, "nested", "a::b::nested", 1},
    {{"-nons"}, "bare", "bare", 1},
    {{"-incbin", "-align", "32"}, "included", "included", 32}};

const char kWalker[] = R"(
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
// Prints each entry: hex path, hex SHA-256, size, and whether its bytes, lookup and alignment hold.
template <class Entry>
void Walk(const char* name, const Entry* table, std::size_t count, const Entry* (*find)(std::string_view),
          std::uintptr_t alignment) {
  for (std::size_t i = 0; i < count; ++i) {
    const Entry& entry = table[i];
    std::ifstream file("assets/" + std::string(entry.path), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::printf("%s ", name);
    for (char c : entry.path) std::printf("%02x", static_cast<unsigned char>(c));
    std::printf(" ");
    for (int j = 0; j < 32; ++j) std::printf("%02x", entry.sha256[j]);
    const bool same = bytes.size() == entry.size && std::string(reinterpret_cast<const char*>(entry.data), entry.size) == bytes;
    std::printf(" %zu%s%s%s\n", entry.size, same ? "" : " differs", find(entry.path) == &entry ? "" : " lost",
                reinterpret_cast<std::uintptr_t>(entry.data) % alignment ? " misaligned" : "");
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
  for (const auto& [options, name, qualified, alignment] : kForms) {
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.insert(arguments.end(), {"-index", name, "-p", "assets", ""});
    includes += "#include \"" + name + ".h\"\n";
    body += "  Walk(\"" + name + "\", " + qualified + ", " + qualified + "_count, " + qualified + "_find, " +
            std::to_string(alignment) + ");\n";
    for (const auto& [path, bytes] : tree)
      expected += Line(name, path, bytes);
    expected += name + " end\n";
  }
  // An empty catalogue.
  arguments.insert(arguments.end(), {"-index", "none"});
  includes += "#include \"none.h\"\n";
  body += "  Walk(\"none\", none, none_count, none_find, 1);\n";
  expected += "none end\n";
  ASSERT_EQ(RunBinary(arguments, {.folder = folder.path()}).exitCode, 0);
  // The program's own includes come last, so that every generated header must include what it uses.
  Spill(folder / "main.cpp", includes + kWalker + body + "}\n");
  // C++17 with both compilers, and the later standards (Clang 14 knows C++23 as c++2b).
  const std::pair<std::string, const char*> builds[] = {
      {HEXLOOM_CXX_COMPILER, "c++17"}, {"clang++", "c++17"}, {HEXLOOM_CXX_COMPILER, "c++20"}, {"clang++", "c++2b"}};
  for (const auto& [compiler, standard] : builds) {
    if (compiler == "clang++" && Shell("command -v clang++").empty())
      continue;
    EXPECT_EQ(Shell("cd '" + folder.path() + "' && " + compiler + " -std=" + standard +
                    " -pedantic-errors -Wall -Wextra -Werror -o walk *.cpp 2>&1 && ./walk"),
              expected)
        << compiler << " " << standard;
  }
}

}  // namespace
