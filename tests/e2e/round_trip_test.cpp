// Generated files compiled and run give back the bytes of their inputs: every form with the project's compiler, and the
// string literals, whose escapes compilers may read differently, and the assembler's -incbin with Clang as well.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "support/hex.h"
#include "support/run.h"
#include "support/temp_folder.h"

namespace {

const std::vector<std::string> kStyles[] = {{},
                                            {"-stl"},
                                            {"-nons"},
                                            {"-dyn"},
                                            {"-dec", "-8"},
                                            {"-u32", "-1024", "-t0"},
                                            {"-s32", "-32", "-t4", "-bw", "-bwns"},
                                            {"-stl", "-dyn", "-nons", "-bw", "-dec", "-t0", "-u32"},
                                            {"-str"},
                                            {"-str", "-stl"},
                                            {"-str", "-cpp_sha256"},
                                            {"-str", "-dyn", "-bw", "-bwns", "-8", "-t0"},
                                            {"-str", "-dec", "-1024", "-t1", "-u32"},
                                            {"-str", "-stl", "-dyn", "-nons", "-bw", "-32", "-t3"},
                                            {"-str", "-nons", "-64", "-t4"},
                                            {"-incbin"},
                                            {"-incbin", "-ns", "a::b", "-bwns"},
                                            {"-incbin", "-nons", "-align", "4096"}};

constexpr size_t kMiB = 1 << 20;

// Bytes that could break an escape (each value before a digit, hex letter, ?, quote or backslash; trigraphs), then
// random ones.
std::string Input(size_t size) {
  static const std::string pattern = [] {
    std::string bytes = "\?\?\?=\?\?/\"\\\"\\\\";
    for (int value = 0; value < 256; ++value)
      for (char follower : std::string("0123456789abcdefABCDEF?\"\\"))
        bytes += {static_cast<char>(value), follower};
    std::generate_n(std::back_inserter(bytes), kMiB + 1000, std::mt19937(7));
    return bytes;
  }();
  return pattern.substr(size * 7919 % (pattern.size() - size), size);
}

// Converts inputs of several sizes in each style (only -str and -incbin when `strOnly`), then builds and runs a program
// that prints the bytes of every array, and expects those of the inputs.
void RoundTrip(const std::string& compiler, bool strOnly) {
  const ScratchFolder folder;
  std::string includes, body, expected;
  // Includes the header; the program prints `data`, a pointer and a size, and the header's name.
  const auto check = [&](const std::string& header, const std::string& data, const std::string& hex) {
    includes += "#include \"" + header + "\"\n";
    body += "  Print(\"" + header + "\", " + data + ");\n";
    expected += hex + " " + header + "\n";
  };
  for (size_t style = 0; style < std::size(kStyles); ++style) {
    std::vector<std::string> arguments = kStyles[style];
    const auto has = [&](const char* option) { return std::ranges::find(arguments, option) != arguments.end(); };
    const bool incbin = has("-incbin");
    if (strOnly && !has("-str") && !incbin)
      continue;
    const auto ns = std::ranges::find(arguments, "-ns");
    const std::string scope = has("-nons") ? "" : ns != arguments.end() ? ns[1] + "::" : "Data::";
    for (size_t size : {size_t{0}, size_t{1}, size_t{17}, size_t{64}, size_t{65}, incbin ? kMiB : size_t{100000}}) {
      const std::string name = "style" + std::to_string(style) + "_" + std::to_string(size);
      const std::string id = scope + name;
      if (has("-align")) {
        body += "  std::printf(\"%d\\n\", int(reinterpret_cast<uintptr_t>(" + id + ") % 4096));\n";
        expected += "0\n";
      }
      Spill(folder / name, Input(size));
      arguments.insert(arguments.end(), {"-i", name});
      check(name + ".h", id + ", " + id + "_size",
            has("-cpp_sha256") ? Shell("sha256sum '" + folder / name + "' | head -c64") : Hex(Input(size)));
    }
    EXPECT_EQ(RunBinary(arguments, {.folder = folder.path()}).exitCode, 0);
  }
  // Files named like keywords, alternative tokens or size_t get usable names; -incbin's symbols follow them.
  Shell("mkdir '" + folder / "incbin" + "'");
  for (const std::string name : {"default", "new", "and", "size_t"}) {
    Spill(folder / name, name);
    Spill(folder / ("incbin/" + name), name + "!");
    EXPECT_EQ(
        RunBinary({"-i", name, "-incbin", "-ns", "k", "-i", "incbin/" + name}, {.folder = folder.path()}).exitCode, 0);
    check(name + ".h", "Data::" + name + "_, Data::" + name + "__size", Hex(name));
    check("incbin/" + name + ".h", "k::" + name + "_, k::" + name + "__size", Hex(name + "!"));
  }
  // The .cxx forms compile on their own when included; an empty array holds one zero, a -str array its closing zero.
  const std::string whole = "w\"0\\?";
  for (const char* name : {"whole.bin", "whole_str.bin", "whole_incbin.bin"})
    Spill(folder / name, whole);
  Spill(folder / "empty", "");
  Spill(folder / "empty_incbin", "");
  EXPECT_EQ(RunBinary({"-cxx", "-i", "whole.bin", "-dec", "-i", "empty", "-str", "-i", "whole_str.bin", "-incbin", "-i",
                       "whole_incbin.bin", "-i", "empty_incbin"},
                      {.folder = folder.path()})
                .exitCode,
            0);
  check("whole.bin.cxx", "Data::whole_bin, sizeof Data::whole_bin", Hex(whole));
  check("empty.cxx", "Data::empty, sizeof Data::empty", "00");
  check("whole_str.bin.cxx", "Data::whole_str_bin, sizeof Data::whole_str_bin", Hex(whole) + "00");
  check("whole_incbin.bin.cxx", "Data::whole_incbin_bin, sizeof Data::whole_incbin_bin", Hex(whole) + "00");
  check("empty_incbin.cxx", "Data::empty_incbin, sizeof Data::empty_incbin", "00");
  // The program's own includes come last, so that every generated header must include what it uses.
  Spill(folder / "main.cpp",
        includes +
            "#include <cstdint>\n#include <cstdio>\n#include <vector>\n"
            "static void Print(const char* name, const unsigned char* bytes, size_t size) {\n"
            "  for (size_t i = 0; i < size; ++i) std::printf(\"%02x\", bytes[i]);\n"
            "  std::printf(\" %s\\n\", name);\n}\n"
            "static void Print(const char* name, const std::vector<unsigned char>& v, size_t size) {\n"
            "  Print(v.size() == size ? name : \"sizes differ\", v.data(), size);\n}\n"
            "int main() {\n" +
            body + "}\n");
  const std::string build = " -std=c++20 -pedantic-errors -Wall -Wextra -Werror -o roundtrip *.cpp incbin/*.cpp 2>&1";
  EXPECT_EQ(Shell(compiler + build + " && ./roundtrip", folder.path()), expected) << compiler;
}

TEST(RoundTrip, CompiledDataEqualsTheInputWithEveryCompiler) {
  RoundTrip(HEXLOOM_CXX_COMPILER, false);
  if (!Shell("command -v clang++").empty())
    RoundTrip("clang++", true);
}

// Per object format: the tools, and the command that builds the folder's sources and prints what the program says (for
// Mach-O, with no SDK to link, the symbol table).
const std::pair<const char*, const char*> kTargets[] = {
    {"aarch64-linux-gnu-g++ qemu-aarch64", "aarch64-linux-gnu-g++ -static -o p *.cpp && qemu-aarch64 ./p"},
    {"s390x-linux-gnu-g++ qemu-s390x", "s390x-linux-gnu-g++ -static -o p *.cpp && qemu-s390x ./p"},
    {"x86_64-w64-mingw32-g++-posix /usr/lib/wine/wine64",
     "x86_64-w64-mingw32-g++-posix -static -o p.exe *.cpp && WINEDEBUG=-all /usr/lib/wine/wine64 p.exe </dev/null"},
    {"clang++ llvm-nm",
     "clang++ -target x86_64-apple-macos -c sky.cpp bare.cpp 2>/dev/null && llvm-nm *.o | grep ' S '"}};

// The assembler defines the symbols that the headers declare, in read-only data, on every object format.
TEST(RoundTrip, IncbinOnEveryObjectFormat) {
  const ScratchFolder folder;
  Spill(folder / "sky", std::string("\0\x41\xff", 3));
  Spill(folder / "bare", "bare");
  ASSERT_EQ(
      RunBinary({"-incbin", "-ns", "a::b", "-i", "sky", "-nons", "-i", "bare"}, {.folder = folder.path()}).exitCode, 0);
  Spill(folder / "main.cpp",
        "#include <cstdio>\n#include \"sky.h\"\n#include \"bare.h\"\nint main() { std::printf(\"%d "
        "%d %d %s.\", a::b::sky[0], a::b::sky[2], int(a::b::sky_size), bare); }\n");
  for (const auto& [tools, build] : kTargets) {
    if (!Shell(std::string("for t in ") + tools + "; do command -v $t >/dev/null || echo $t; done").empty()) {
      EXPECT_STRNE(std::getenv("CI"), "true") << "missing: " << tools;  // skipped outside CI
      continue;
    }
    const bool macho = std::string(tools).starts_with("clang");
    EXPECT_EQ(Shell(std::string("rm -f *.o && ") + build, folder.path()),
              macho ? "0000000000000000 S _bare\n0000000000000000 S __ZN1a1b3skyE\n" : "0 255 3 bare.")
        << tools;
  }
}

}  // namespace
