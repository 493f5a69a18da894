// Runs the real hexloom binary (or another program) in a folder of its own and collects what it printed, for the
// end-to-end and Wine tests.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

struct RunResult {
  int exitCode = -1;   // as a shell sees it, 0 to 255; -1 when a signal ended it
  std::string output;  // everything written to standard output (or the terminal)
  std::string errors;  // standard error
};

struct RunOptions {
  std::string folder = ".";               // working folder of the run, the only one it may write in a sandbox
  bool sandbox = true;                    // under bubblewrap: the rest of the machine is read-only
  bool terminal = false;                  // run under a pseudo-terminal
  bool closedOutput = false;              // standard output is a pipe whose reader is gone
  std::vector<std::string> program = {};  // what to run in place of the hexloom binary
  long long addressSpaceLimit = -1;       // RLIMIT_AS in bytes; -1 for none
  bool hangupIgnored = false;             // started with SIGHUP ignored, as under nohup
  std::function<void(int child)> whileRunning = {};  // called with the started child, before its output is read
};

// Runs hexloom with the arguments, standard input empty, and reads what it printed to the end.
RunResult RunBinary(const std::vector<std::string>& arguments, const RunOptions& options = {});

// Runs a shell command in the folder, outside the sandbox, and returns what it printed to standard output.
std::string Shell(const std::string& command, const std::string& folder = ".");

// False when the binary runs under an emulator (qemu-user) or is built with a sanitizer, which reserve more address
// space for themselves than a run's RLIMIT_AS would leave.
bool AddressSpaceLimitsApply();

// What every run prints first.
extern const char kBanner[];
// The two line breaks that end every run with arguments.
extern const char kEnding[];
// The bytes of a golden file in tests/data.
std::string Golden(const std::string& name);
// The lines of one conversion that wrote the outputs.
std::string Converted(const std::string& input, std::initializer_list<std::string> outputs);
// The exit code of a failed run, as a shell sees it.
inline constexpr int kFailed = 255;
// An error line and what a failed run prints after it.
std::string Failed(const std::string& message);
