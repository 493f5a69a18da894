// Whole runs seen from outside: exact console text and exit codes.
#include <gtest/gtest.h>

#include "support/run.h"
#include "support/temp_folder.h"

namespace {

const std::string kTestNotice = "**** TEST ENABLED ****\n\n";

const char kHelpOnly[] = "-md5, -sha1, -sha256, -sha512";  // a row that the usage lists only

// A message, then the usage that a stopped run prints.
std::string Stopped(const std::string& message) { return message + UsageText() + kEnding; }

std::string Invalid(int position, const std::string& argument) {
  return "Invalid Parameter (" + std::to_string(position) + ") : " + argument + "\n\n";
}

struct Case {
  const char* name;
  std::vector<std::string> arguments;
  std::string printed;  // after the banner
  int exitCode;
};

class CommandLine : public testing::TestWithParam<Case> {};

TEST_P(CommandLine, PrintsAndEnds) {
  ScratchFolder folder;
  RunResult run = RunBinary(GetParam().arguments, {.folder = folder.path()});
  EXPECT_EQ(run.output, kBanner + GetParam().printed);
  EXPECT_EQ(run.exitCode, GetParam().exitCode);
  EXPECT_EQ(run.errors, "");
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CommandLine,
    testing::Values(
        Case{"NoArgument", {}, UsageText(), kFailed},  // the one run without the ending
        Case{"Unrecognised", {"-X"}, Stopped(Invalid(1, "-X")), kFailed},
        Case{"CaseSensitive", {"-MD5"}, Stopped(Invalid(1, "-MD5")), kFailed},
        Case{"HelpOnlyRow", {"-dec", kHelpOnly}, Stopped(Invalid(2, kHelpOnly)), kFailed},
        // An unrecognised argument skips everything after it.
        Case{"UnrecognisedSkipsTheRest", {"-test", "-zz", "-test", "-i", "missing.bin"},
             kTestNotice + Stopped(Invalid(2, "-zz")), kFailed},
        Case{"StyleOptionsAlone",
             {"-dec", "-cxx", "-stl", "-dyn", "-nons", "-bw", "-bwns", "-u32", "-s32", "-size_t", "-8", "-1024", "-t0",
              "-t4", "-md5", "-cpp_sha512", "-cxx_sha1", "-cpp"},
             kEnding, 0},
        Case{"TestModeTwice", {"-test", "-test"}, kTestNotice + kTestNotice + kEnding, 0},
        Case{"OutputFolderMissing", {"-o"}, Stopped("Output path is missing: -o C:\\Data\n\n"), kFailed},
        // An unset variable in a script never makes the root folder the target.
        Case{"OutputFolderEmpty", {"-o", "", "-i", "x"}, Stopped("Output path is missing: -o C:\\Data\n\n"), kFailed},
        Case{"ScanFolderEmpty", {"-p", "", ".bin"},
             Stopped("Parse folder parameters are missing: -p c:\\yourFolder tag\n\n"), kFailed},
        Case{"InputMissing", {"-i"}, Stopped("Input file is missing: -i yourFile.bin\n\n"), kFailed},
        Case{"ScanParametersMissing", {"-p", "d"},
             Stopped("Parse folder parameters are missing: -p c:\\yourFolder tag\n\n"), kFailed},
        Case{"LastWithoutInput", {"-last", "-i", "never"}, Stopped("No Input file: -i yourFile.bin\n\n"), kFailed},
        // Help is answered only as the first argument, and reads nothing after it.
        Case{"Help", {"-h", "-X"}, UsageText(), 0},
        Case{"LongHelp", {"--help", "-i", "missing"}, UsageText(), 0},
        Case{"HelpLater", {"-dec", "--help"}, Stopped(Invalid(2, "--help")), kFailed}),
    CaseName());

TEST(CommandLine, VersionIsOneLineAlone) {
  RunResult run = RunBinary({"--version", "-i"});
  EXPECT_EQ(run.output, "hexloom 1.0\n");
  EXPECT_EQ(run.exitCode, 0);
}

TEST(Terminal, ColoursThatReturnToDefault) {
  RunResult run = RunBinary({"-test"}, {.terminal = true});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output,
            "\x1b[94mHexloom 1.0 - Converts data files into several formats, such as C++ source and checksums.\n\n"
            "\x1b[0m\x1b[0mDeveloped by the Hexloom developers.\n\n\x1b[0m"
            "\x1b[90mWeb: https://hexloom.dev\n\n\x1b[0m"
            "\x1b[93m**** TEST ENABLED ****\n\n\x1b[0m"
            "\n\n");
}

TEST(Terminal, UsageColours) {
  RunResult run = RunBinary({"-X"}, {.terminal = true});
  for (const char* piece : {"\x1b[35m[Parameters/Options]\n\x1b[0m", "\x1b[0m -o \x1b[0m\x1b[90m: output path\n\x1b[0m",
                            "\x1b[36m[Examples]\n\x1b[0m", "\x1b[33m Hexloom -i yourData.bin \x1b[0m",
                            "\x1b[93mInvalid Parameter (1) : -X\n\n\x1b[0m"})
    EXPECT_NE(run.output.find(piece), std::string::npos) << piece;
  EXPECT_TRUE(run.output.ends_with("\x1b[0m\n\n"));
}

}  // namespace
