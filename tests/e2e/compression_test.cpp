// Compressed catalogues compiled into a program: every entry inflates to its file's bytes with g++ and Clang, gzip
// reads the stored members, damage and short buffers are refused, and two runs write the same bytes.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "digest/digest.h"
#include "support/hex.h"
#include "support/run.h"
#include "support/temp_folder.h"

namespace {

// Text that shrinks, and random bytes, an empty file and a tiny one that don't.
std::map<std::string, std::string> Tree() {
  std::string random(4096, '\0'), page;
  std::generate(random.begin(), random.end(), std::mt19937(5));
  for (int i = 0; i < 2000; ++i)
    page += "<li class=\"item\">entry " + std::to_string(i) + "</li>\n";
  return {{"page.html", page},
          {"ui/style.css", "p { margin: 0 }\n" + std::string(300, ' ') + "}\n"},
          {"noise.bin", random},
          {"empty", ""},
          {"tiny.txt", "hi"}};
}

const char kInflater[] = R"(#include "packed.h"
#include "literal.h"
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
// Prints each entry: hex path, hex SHA-256, original size, gzip or plain, and what went wrong. Writes each gzip
// member to NAME-I.gz for gzip to read back.
template <class Entry, class Inflate>
void Check(const char* name, const Entry* table, std::size_t count, Inflate inflate) {
  for (std::size_t i = 0; i < count; ++i) {
    const Entry& entry = table[i];
    std::ifstream file("assets/" + std::string(entry.path), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<unsigned char> out(entry.original_size + 1);
    const bool inflated = inflate(entry, out.data(), entry.original_size);
    const bool short_refused = entry.original_size == 0 || !inflate(entry, out.data(), entry.original_size - 1);
    std::printf("%s ", name);
    for (char c : entry.path) std::printf("%02x", static_cast<unsigned char>(c));
    std::printf(" ");
    for (int j = 0; j < 32; ++j) std::printf("%02x", entry.sha256[j]);
    const bool same = inflated && std::string(reinterpret_cast<char*>(out.data()), entry.original_size) == bytes;
    std::printf(" %zu %s%s%s", entry.original_size, entry.gzip ? "gzip" : "plain", same ? "" : " differs",
                short_refused ? "" : " short buffer taken");
    if (entry.gzip) {
      std::ofstream(std::string(name) + "-" + std::to_string(i) + ".gz", std::ios::binary)
          .write(reinterpret_cast<const char*>(entry.data), entry.size);
      std::vector<unsigned char> damaged(entry.data, entry.data + entry.size);
      damaged[entry.size / 2] ^= 1;
      Entry copy = entry;
      copy.data = damaged.data();
      std::printf("%s", inflate(copy, out.data(), entry.original_size) ? " damage taken" : "");
    }
    std::printf("\n");
  }
}
int main() {
  Check("packed", Data::packed, Data::packed_count, Data::packed_inflate);
  Check("literal", Data::literal, Data::literal_count, Data::literal_inflate);
}
)";

TEST(Compression, EntriesInflateToTheFilesBytes) {
  const ScratchFolder folder;
  for (const auto& [path, bytes] : Tree()) {
    std::filesystem::create_directories(std::filesystem::path(folder / "assets/" + path).parent_path());
    Spill(folder / "assets/" + path, bytes);
  }
  const std::vector<std::string> arguments = {"-compress", "-index", "packed",  "-p", "assets", "",
                                              "-incbin",   "-index", "literal", "-p", "assets", ""};
  const RunResult run = RunBinary(arguments, {.folder = folder.path()});
  if (run.output.find("Compression is not in this build") != std::string::npos)
    GTEST_SKIP() << "built without zlib";
  ASSERT_EQ(run.exitCode, 0) << run.output;
  // A second run elsewhere writes the same bytes.
  std::vector<std::string> again = {"-o", "again"};
  again.insert(again.end(), arguments.begin(), arguments.end());
  std::filesystem::create_directory(folder / "again");
  ASSERT_EQ(RunBinary(again, {.folder = folder.path()}).exitCode, 0);
  for (const char* name : {"packed.cpp", "packed.h", "literal.cpp", "literal.h"})
    EXPECT_EQ(Slurp(folder / name), Slurp(folder / ("again/" + std::string(name)))) << name;
  std::string expected;
  for (const char* name : {"packed", "literal"}) {
    for (const auto& [path, bytes] : Tree()) {
      unsigned char digest[kSha256DigestSize];
      DigestInfoOf(DigestKind::Sha256)
          .compute(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
      expected += std::string(name) + " " + Hex(path) + " " +
                  Hex({reinterpret_cast<const char*>(digest), sizeof digest}) + " " + std::to_string(bytes.size()) +
                  (path.ends_with("html") || path.ends_with("css") ? " gzip\n" : " plain\n");
    }
  }
  Spill(folder / "main.cpp", kInflater);
  for (const char* compiler : {HEXLOOM_CXX_COMPILER, "clang++"}) {
    EXPECT_EQ(Shell("cd '" + folder.path() + "' && " + compiler +
                    " -std=c++17 -pedantic-errors -Wall -Wextra -Werror -o inflate *.cpp -lz 2>&1 && ./inflate"),
              expected)
        << compiler;
  }
  // The map is sorted by path: page.html is entry 2, ui/style.css entry 4.
  const std::map<std::string, std::string> tree = Tree();
  for (const char* name : {"packed", "literal"}) {
    EXPECT_EQ(Shell("gzip -dc '" + (folder / name) + "-2.gz'"), tree.at("page.html"));
    EXPECT_EQ(Shell("gzip -dc '" + (folder / name) + "-4.gz'"), tree.at("ui/style.css"));
  }
}

}  // namespace
