// Generated files compiled with the system compiler and run give back the
// bytes of their inputs.
#include <gtest/gtest.h>

#include <cstdio>
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

struct Program {
  std::string main = "#include <cstdio>\n#include <cstddef>\n";
  std::string body;
  std::string expected;
  std::string sources;
};

// Converts one input of each size in the style and adds to the program a
// line that prints the bytes it sees. `makeInput` gives the bytes of a size.
template <typename MakeInput>
void AddConversions(const ScratchFolder& folder, const Style& style, const std::vector<size_t>& sizes,
                    MakeInput makeInput, Program& program) {
  std::vector<std::string> arguments = style.options;
  for (size_t size : sizes) {
    const std::string name = style.prefix + std::to_string(size) + ".bin";
    const std::string bytes = makeInput(size);
    Spill(folder / name, bytes);
    arguments.push_back("-i");
    arguments.push_back(name);
    const std::string id = style.prefix + std::to_string(size) + "_bin";
    const std::string scope = style.global ? "" : "Data::";
    program.main += "#include \"" + name + ".h\"\n";
    program.sources += " '" + name + ".cpp'";
    const std::string data = style.vector ? scope + id + ".data()" : scope + id;
    program.body += "  Print(\"" + id + "\", " + data + ", " + scope + id + "_size);\n";
    if (style.vector)
      program.body += "  if (" + scope + id + ".size() != " + scope + id + "_size) return 1;\n";
    const std::string seen =
        style.digest ? Shell("sha256sum '" + folder / name + "' | cut -c1-64 | tr -d '\\n'") : Hex(bytes);
    program.expected += id + " " + seen + "\n";
  }
  RunResult run = RunBinary(arguments, {.folder = folder.path()});
  ASSERT_EQ(run.exitCode, 0) << run.output;
}

// Compiles the program with its sources and runs it; returns what it printed
// (or what the compiler said).
std::string BuildAndRun(const ScratchFolder& folder, Program& program, const std::string& compile) {
  program.main +=
      "static void Print(const char* name, const unsigned char* bytes, unsigned long long size) {\n"
      "  std::printf(\"%s \", name);\n"
      "  for (unsigned long long i = 0; i < size; ++i) std::printf(\"%02x\", bytes[i]);\n"
      "  std::printf(\"\\n\");\n"
      "}\n"
      "int main() {\n" +
      program.body + "  return 0;\n}\n";
  Spill(folder / "main.cpp", program.main);
  return Shell("cd '" + folder.path() + "' && " + compile + " -o roundtrip main.cpp" + program.sources +
               " 2>&1 && ./roundtrip");
}

TEST(RoundTrip, CompiledDataEqualsTheInput) {
  ScratchFolder folder;
  const std::vector<Style> styles = {
      {{}, "plain"},
      {{"-stl"}, "vec", true},
      {{"-nons"}, "global", false, true},
      {{"-dyn"}, "dyn"},
      {{"-dec", "-8"}, "dec"},
      {{"-u32", "-1024", "-t0"}, "u32"},
      {{"-s32", "-32", "-t4", "-bw", "-bwns"}, "s32"},
      {{"-stl", "-dyn", "-nons", "-bw", "-dec", "-t0", "-u32"}, "all", true, true},
  };
  std::mt19937 random(7);
  auto randomBytes = [&random](size_t size) {
    std::string bytes(size, '\0');
    for (char& c : bytes)
      c = static_cast<char>(random());
    return bytes;
  };
  Program program;
  for (const Style& style : styles)
    AddConversions(folder, style, {0, 1, 16, 17, 100000}, randomBytes, program);
  // Files named like keywords, alternative tokens or size_t get usable names.
  for (const std::string name : {"default", "new", "and", "size_t"}) {
    Spill(folder / name, name);
    ASSERT_EQ(RunBinary({"-i", name}, {.folder = folder.path()}).exitCode, 0);
    program.main += "#include \"" + name + ".h\"\n";
    program.sources += " '" + name + ".cpp'";
    program.body += "  Print(\"" + name + "\", Data::" + name + "_, Data::" + name + "__size);\n";
    program.expected += name + " " + Hex(name) + "\n";
  }
  // The .cxx form compiles on its own when included, an empty one too.
  Spill(folder / "whole.bin", "whole");
  Spill(folder / "empty", "");
  ASSERT_EQ(RunBinary({"-cxx", "-i", "whole.bin", "-dec", "-i", "empty"}, {.folder = folder.path()}).exitCode, 0);
  program.main += "#include \"whole.bin.cxx\"\n#include \"empty.cxx\"\n";
  program.body += "  Print(\"whole_bin\", Data::whole_bin, sizeof Data::whole_bin);\n";
  program.body += "  if (sizeof Data::empty != 1 || Data::empty[0] != 0) return 1;\n";
  program.expected += "whole_bin " + Hex("whole") + "\n";
  EXPECT_EQ(BuildAndRun(folder, program, HEXLOOM_CXX_COMPILER " -std=c++20 -pedantic-errors -Wall -Wextra -Werror"),
            program.expected);
}

// Bytes that could break an escape: every value before every digit and hex
// letter, runs of question marks (trigraphs), quotes and backslashes.
std::string EscapeTraps() {
  const std::string followers = "0123456789abcdefABCDEF?\"\\";
  std::string pattern = "\?\?\?=\?\?/\"\\\"\\\\";
  for (int value = 0; value < 256; ++value) {
    for (char follower : followers) {
      pattern += static_cast<char>(value);
      pattern += follower;
    }
  }
  return pattern;
}

TEST(RoundTrip, StringLiteralHoldsEveryByteWithEveryCompiler) {
  std::vector<std::string> compilers = {HEXLOOM_CXX_COMPILER};
  if (!Shell("command -v clang++").empty())
    compilers.push_back("clang++");
  const std::vector<Style> styles = {
      {{"-str"}, "plain"},
      {{"-str", "-stl"}, "vec", true},
      {{"-str", "-nons", "-64", "-t4"}, "global", false, true},
      {{"-str", "-dyn", "-bw", "-bwns", "-8", "-t0"}, "dyn"},
      {{"-str", "-dec", "-1024", "-t1", "-u32"}, "wide"},
      {{"-str", "-stl", "-dyn", "-nons", "-bw", "-32", "-t3"}, "all", true, true},
      {{"-str", "-cpp_sha256"}, "sha", false, false, true},
  };
  const std::string traps = EscapeTraps();
  size_t offset = 0;
  auto trapBytes = [&](size_t size) {
    std::string bytes;
    while (bytes.size() < size)
      bytes += traps.substr(offset++ * 7919 % traps.size());
    return bytes.substr(0, size);
  };
  for (const std::string& compiler : compilers) {
    ScratchFolder folder;
    Program program;
    for (const Style& style : styles)
      AddConversions(folder, style, {0, 1, 63, 64, 65, 100000}, trapBytes, program);
    // Under -cxx the array holds the terminating zero as well.
    Spill(folder / "whole.bin", "w\"0\\?");
    ASSERT_EQ(RunBinary({"-cxx", "-str", "-i", "whole.bin"}, {.folder = folder.path()}).exitCode, 0);
    program.main += "#include \"whole.bin.cxx\"\n";
    program.body += "  if (sizeof Data::whole_bin != 6 || Data::whole_bin[5] != 0) return 1;\n";
    program.body += "  Print(\"whole_bin\", Data::whole_bin, sizeof Data::whole_bin - 1);\n";
    program.expected += "whole_bin " + Hex("w\"0\\?") + "\n";
    EXPECT_EQ(BuildAndRun(folder, program, compiler + " -std=c++20 -pedantic-errors -Wall -Wextra -Werror"),
              program.expected)
        << compiler;
  }
}

}  // namespace
