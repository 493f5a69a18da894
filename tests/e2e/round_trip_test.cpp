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
};

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
  const size_t sizes[] = {0, 1, 16, 17, 100000};
  std::mt19937 random(7);
  std::string main = "#include <cstdio>\n#include <cstddef>\n";
  std::string body;
  std::string expected;
  std::string sources;
  for (const Style& style : styles) {
    std::vector<std::string> arguments = style.options;
    for (size_t size : sizes) {
      const std::string name = style.prefix + std::to_string(size) + ".bin";
      std::string bytes(size, '\0');
      for (char& c : bytes)
        c = static_cast<char>(random());
      Spill(folder / name, bytes);
      arguments.push_back("-i");
      arguments.push_back(name);
      const std::string id = style.prefix + std::to_string(size) + "_bin";
      const std::string scope = style.global ? "" : "Data::";
      main += "#include \"" + name + ".h\"\n";
      sources += " '" + name + ".cpp'";
      const std::string data = style.vector ? scope + id + ".data()" : scope + id;
      body += "  Print(\"" + id + "\", " + data + ", " + scope + id + "_size);\n";
      if (style.vector)
        body += "  if (" + scope + id + ".size() != " + scope + id + "_size) return 1;\n";
      expected += id + " " + Hex(bytes) + "\n";
    }
    RunResult run = RunBinary(arguments, {.folder = folder.path()});
    ASSERT_EQ(run.exitCode, 0) << run.output;
  }
  // Files named like keywords, alternative tokens or size_t get usable names.
  for (const std::string name : {"default", "new", "and", "size_t"}) {
    Spill(folder / name, name);
    ASSERT_EQ(RunBinary({"-i", name}, {.folder = folder.path()}).exitCode, 0);
    main += "#include \"" + name + ".h\"\n";
    sources += " '" + name + ".cpp'";
    body += "  Print(\"" + name + "\", Data::" + name + "_, Data::" + name + "__size);\n";
    expected += name + " " + Hex(name) + "\n";
  }
  // The .cxx form compiles on its own when included, an empty one too.
  Spill(folder / "whole.bin", "whole");
  Spill(folder / "empty", "");
  ASSERT_EQ(RunBinary({"-cxx", "-i", "whole.bin", "-dec", "-i", "empty"}, {.folder = folder.path()}).exitCode, 0);
  main += "#include \"whole.bin.cxx\"\n#include \"empty.cxx\"\n";
  body += "  Print(\"whole_bin\", Data::whole_bin, sizeof Data::whole_bin);\n";
  body += "  if (sizeof Data::empty != 1 || Data::empty[0] != 0) return 1;\n";
  expected += "whole_bin " + Hex("whole") + "\n";

  main +=
      "static void Print(const char* name, const unsigned char* bytes, unsigned long long size) {\n"
      "  std::printf(\"%s \", name);\n"
      "  for (unsigned long long i = 0; i < size; ++i) std::printf(\"%02x\", bytes[i]);\n"
      "  std::printf(\"\\n\");\n"
      "}\n"
      "int main() {\n" +
      body + "  return 0;\n}\n";
  Spill(folder / "main.cpp", main);
  const std::string build = "cd '" + folder.path() +
                            "' && " HEXLOOM_CXX_COMPILER " -std=c++20 -pedantic-errors -Wall -Wextra -Werror -o roundtrip main.cpp" + sources +
                            " 2>&1 && ./roundtrip";
  EXPECT_EQ(Shell(build), expected);
}

}  // namespace
