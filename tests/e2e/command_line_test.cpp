// The run driver seen from outside: exact console text and exit codes.
#include <gtest/gtest.h>

#include "e2e/support.h"

namespace {

std::string Invalid(int position, const std::string& argument) {
  return "Invalid Parameter (" + std::to_string(position) + ") : " + argument + "\n\n";
}

TEST(CommandLine, NoArgumentPrintsUsageWithoutEndingAndFails) {
  RunResult run = RunBinary({});
  EXPECT_EQ(run.output, kBanner + UsageText());
  EXPECT_EQ(run.exitCode, 255);
  EXPECT_EQ(run.errors, "");
}

TEST(CommandLine, HelpPrintsUsageAndSucceedsWithoutReadingFurther) {
  for (const char* name : {"-h", "--help"}) {
    RunResult run = RunBinary({name, "-X"});
    EXPECT_EQ(run.output, kBanner + UsageText()) << name;
    EXPECT_EQ(run.exitCode, 0) << name;
  }
}

TEST(CommandLine, VersionIsOneLineAlone) {
  RunResult run = RunBinary({"--version", "-i"});
  EXPECT_EQ(run.output, "hexloom 1.0\n");
  EXPECT_EQ(run.exitCode, 0);
}

TEST(CommandLine, UnrecognisedArgumentStopsTheRunAndFails) {
  RunResult run = RunBinary({"-X"});
  EXPECT_EQ(run.output, kBanner + Invalid(1, "-X") + UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);
}

TEST(CommandLine, OptionNamesAreCaseSensitive) {
  for (const char* name : {"-I", "-MD5", "-Last", "-O"}) {
    RunResult run = RunBinary({name});
    EXPECT_EQ(run.output, kBanner + Invalid(1, name) + UsageText() + kEnding) << name;
    EXPECT_EQ(run.exitCode, 255) << name;
  }
}

TEST(CommandLine, HelpOnlyRowsAreNeverSelected) {
  // The help and version queries count only as the first argument.
  for (const char* name : {"-md5, -sha1, -sha256, -sha512", "-cpp_md5, -cpp_sha1, -cpp_sha256, -cpp_sha512",
                           "-h, --help", "--help", "-h", "--version"}) {
    RunResult run = RunBinary({"-dec", name});
    EXPECT_EQ(run.output, kBanner + Invalid(2, name) + UsageText() + kEnding);
    EXPECT_EQ(run.exitCode, 255);
  }
}

TEST(CommandLine, UnrecognisedArgumentSkipsTheRest) {
  TempFolder folder;
  RunResult run = RunBinary({"-test", "-zz", "-test", "-i", "missing.bin"}, {folder.path()});
  EXPECT_EQ(run.output,
            kBanner + std::string("**** TEST ENABLED ****\n\n") + Invalid(2, "-zz") + UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);
}

TEST(CommandLine, StyleOptionsAloneSucceedQuietly) {
  RunResult run = RunBinary({"-dec", "-cxx", "-stl", "-dyn", "-nons", "-bw", "-bwns", "-u32", "-s32", "-size_t", "-8",
                       "-1024", "-t0", "-t4", "-md5", "-cpp_sha512", "-cxx_sha1", "-cpp"});
  EXPECT_EQ(run.output, kBanner + std::string(kEnding));
  EXPECT_EQ(run.exitCode, 0);
}

TEST(CommandLine, OutputFolderWithoutValue) {
  RunResult run = RunBinary({"-o"});
  EXPECT_EQ(run.output, kBanner + std::string("Output path is missing: -o C:\\Data\n\n") + UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);
}

TEST(CommandLine, TestModeTwicePrintsTwice) {
  RunResult run = RunBinary({"-test", "-test"});
  EXPECT_EQ(run.output, kBanner + std::string("**** TEST ENABLED ****\n\n**** TEST ENABLED ****\n\n") + kEnding);
  EXPECT_EQ(run.exitCode, 0);
}

TEST(CommandLine, ValueOfAnOptionIsNeverAnOption) {
  // "-i" is taken as the output folder, so nothing is converted.
  RunResult run = RunBinary({"-o", "-i"});
  EXPECT_EQ(run.output, kBanner + std::string(kEnding));
  EXPECT_EQ(run.exitCode, 0);
}

TEST(CommandLine, InputWithoutValue) {
  RunResult run = RunBinary({"-i"});
  EXPECT_EQ(run.output, kBanner + std::string("Input file is missing: -i yourFile.bin\n\n") + UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);
}

TEST(CommandLine, PipeGetsNoEscapeCodes) {
  RunResult run = RunBinary({"-X"});
  EXPECT_EQ(run.output.find('\x1b'), std::string::npos);
}

TEST(CommandLine, TerminalGetsColoursThatReturnToDefault) {
  RunResult run = RunBinary({"-test"}, {.terminal = true});
  EXPECT_EQ(run.exitCode, 0);
  const std::string expected =
      "\x1b[94mHexloom 1.0 - Converts data files into several formats, such as C++ source and checksums.\n\n"
      "\x1b[0m\x1b[0mDeveloped by the Hexloom developers.\n\n\x1b[0m"
      "\x1b[90mWeb: https://hexloom.dev\n\n\x1b[0m"
      "\x1b[93m**** TEST ENABLED ****\n\n\x1b[0m"
      "\n\n";
  EXPECT_EQ(run.output, expected);
}

TEST(CommandLine, TerminalUsageColours) {
  RunResult run = RunBinary({"-X"}, {.terminal = true});
  EXPECT_NE(run.output.find("\x1b[35m[Parameters/Options]\n\x1b[0m"), std::string::npos);
  EXPECT_NE(run.output.find("\x1b[0m -o \x1b[0m\x1b[90m: output path\n\x1b[0m"), std::string::npos);
  EXPECT_NE(run.output.find("\x1b[36m[Examples]\n\x1b[0m"), std::string::npos);
  EXPECT_NE(run.output.find("\x1b[33m Hexloom -i yourData.bin \x1b[0m"), std::string::npos);
  EXPECT_NE(run.output.find("\x1b[93mInvalid Parameter (1) : -X\n\n\x1b[0m"), std::string::npos);
  // The text ends in the default colour.
  EXPECT_EQ(run.output.substr(run.output.size() - 6), "\x1b[0m\n\n");
}

}  // namespace
