// Generated files compiled with the system compilers and run give back the
// bytes of their inputs: every form with the project's compiler, and the
// string literals, whose escapes compilers may read differently, with Clang
// as well.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "support/hex.h"
#include "support/run.h"
#include "support/temp_folder.h"

namespace {

struct Style {
  std::vector<std::string> options;
  std::string prefix;  // names the inputs, and so the identifiers, of this style
  bool vector = false;
  bool global = false;
  bool digest = false;  // the data is the SHA-256 digest of the input
};

const Style kStyles[] = {
    {{}, "plain"},
    {{"-stl"}, "vec", true},
    {{"-nons"}, "global", false, true},
    {{"-dyn"}, "dyn"},
    {{"-dec", "-8"}, "dec"},
    {{"-u32", "-1024", "-t0"}, "u32"},
    {{"-s32", "-32", "-t4", "-bw", "-bwns"}, "s32"},
    {{"-stl", "-dyn", "-nons", "-bw", "-dec", "-t0", "-u32"}, "all", true, true},
    {{"-str"}, "str"},
    {{"-str", "-stl"}, "strvec", true},
    {{"-str", "-nons", "-64", "-t4"}, "strglobal", false, true},
    {{"-str", "-dyn", "-bw", "-bwns", "-8", "-t0"}, "strdyn"},
    {{"-str", "-dec", "-1024", "-t1", "-u32"}, "strwide"},
    {{"-str", "-stl", "-dyn", "-nons", "-bw", "-32", "-t3"}, "strall", true, true},
    {{"-str", "-cpp_sha256"}, "strsha", false, false, true},
};

// Bytes that could break an escape: every value before every digit and hex
// letter, runs of question marks (trigraphs), quotes and backslashes; then
// random bytes.
std::string Input(size_t size) {
  static const std::string pattern = [] {
    std::string bytes = "\?\?\?=\?\?/\"\\\"\\\\";
    for (int value = 0; value < 256; ++value) {
      for (char follower : std::string("0123456789abcdefABCDEF?\"\\"))
        bytes += {static_cast<char>(value), follower};
    }
    std::mt19937 random(7);
    for (int i = 0; i < 100000; ++i)
      bytes += static_cast<char>(random());
    return bytes;
  }();
  return pattern.substr(size * 7919 % (pattern.size() - size), size);
}

// Converts one input of each size in each style, and makes a program that
// prints the bytes that each array holds; returns what it printed (or what
// the compiler said) with the expected text.
std::pair<std::string, std::string> RoundTrip(const ScratchFolder& folder, const std::string& compile, bool strOnly) {
  std::string main = "#include <cstdio>\n#include <cstddef>\n", body, expected, sources;
  for (const Style& style : kStyles) {
    if (strOnly && std::ranges::find(style.options, "-str") == style.options.end())
      continue;
    std::vector<std::string> arguments = style.options;
    for (size_t size : {0, 1, 17, 64, 65, 100000}) {
      const std::string name = style.prefix + std::to_string(size) + ".bin";
      const std::string id = style.prefix + std::to_string(size) + "_bin";
      const std::string scope = style.global ? "" : "Data::";
      Spill(folder / name, Input(size));
      arguments.insert(arguments.end(), {"-i", name});
      main += "#include \"" + name + ".h\"\n";
      sources += " '" + name + ".cpp'";
      body += "  Print(\"" + id + "\", " + scope + id + (style.vector ? ".data()" : "") + ", " + scope + id + "_size);\n";
      if (style.vector)
        body += "  if (" + scope + id + ".size() != " + scope + id + "_size) return 1;\n";
      expected += id + " " +
                  (style.digest ? Shell("sha256sum '" + folder / name + "' | cut -c1-64 | tr -d '\\n'") : Hex(Input(size))) +
                  "\n";
    }
    EXPECT_EQ(RunBinary(arguments, {.folder = folder.path()}).exitCode, 0);
  }
  // The .cxx forms compile on their own when included, empty ones too; with
  // -str the array holds the terminating zero as well.
  Spill(folder / "whole.bin", "w\"0\\?");
  Spill(folder / "whole_str.bin", "w\"0\\?");
  Spill(folder / "empty", "");
  EXPECT_EQ(RunBinary({"-cxx", "-i", "whole.bin", "-dec", "-i", "empty", "-str", "-i", "whole_str.bin"},
                      {.folder = folder.path()})
                .exitCode,
            0);
  main += "#include \"whole.bin.cxx\"\n#include \"empty.cxx\"\n#include \"whole_str.bin.cxx\"\n";
  // Files named like keywords, alternative tokens or size_t get usable names.
  for (const std::string name : {"default", "new", "and", "size_t"}) {
    Spill(folder / name, name);
    EXPECT_EQ(RunBinary({"-i", name}, {.folder = folder.path()}).exitCode, 0);
    main += "#include \"" + name + ".h\"\n";
    sources += " '" + name + ".cpp'";
    body += "  Print(\"" + name + "\", Data::" + name + "_, Data::" + name + "__size);\n";
    expected += name + " " + Hex(name) + "\n";
  }
  body += "  Print(\"whole_bin\", Data::whole_bin, sizeof Data::whole_bin);\n"
          "  if (sizeof Data::empty != 1 || Data::empty[0] != 0) return 1;\n"
          "  if (sizeof Data::whole_str_bin != 6 || Data::whole_str_bin[5] != 0) return 1;\n"
          "  Print(\"whole_str_bin\", Data::whole_str_bin, sizeof Data::whole_str_bin - 1);\n";
  expected += "whole_bin " + Hex("w\"0\\?") + "\nwhole_str_bin " + Hex("w\"0\\?") + "\n";
  main += "static void Print(const char* name, const unsigned char* bytes, unsigned long long size) {\n"
          "  std::printf(\"%s \", name);\n"
          "  for (unsigned long long i = 0; i < size; ++i) std::printf(\"%02x\", bytes[i]);\n"
          "  std::printf(\"\\n\");\n"
          "}\n"
          "int main() {\n" + body + "  return 0;\n}\n";
  Spill(folder / "main.cpp", main);
  return {Shell("cd '" + folder.path() + "' && " + compile + " -o roundtrip main.cpp" + sources + " 2>&1 && ./roundtrip"),
          expected};
}

TEST(RoundTrip, CompiledDataEqualsTheInputWithEveryCompiler) {
  std::vector<std::string> compilers = {HEXLOOM_CXX_COMPILER};
  if (!Shell("command -v clang++").empty())
    compilers.push_back("clang++");
  for (const std::string& compiler : compilers) {
    ScratchFolder folder;
    const auto [printed, expected] =
        RoundTrip(folder, compiler + " -std=c++20 -pedantic-errors -Wall -Wextra -Werror", compiler != compilers[0]);
    EXPECT_EQ(printed, expected) << compiler;
  }
}

}  // namespace
