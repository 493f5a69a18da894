// Runs the real hexloom binary in a temporary folder for end-to-end tests.
#pragma once

#include <string>
#include <vector>

struct RunResult {
  int exitCode = -1;   // as a shell sees it, 0 to 255; -1 when it didn't exit
  int signal = 0;      // the signal that ended it, if any
  std::string output;  // everything written to standard output (or the terminal)
  std::string errors;  // standard error
};

struct RunOptions {
  std::string folder = ".";   // working folder of the run
  bool terminal = false;      // run under a pseudo-terminal
  bool unprivileged = false;  // drop root rights first, so that permissions bite
  bool closedOutput = false;  // standard output is a pipe whose reader is gone
  std::vector<std::string> program = {};  // what to run in place of the hexloom binary
};

// Runs hexloom with the arguments and collects what it printed.
RunResult RunBinary(const std::vector<std::string>& arguments, const RunOptions& options = {});

// A fresh folder, removed with everything in it when the value ends.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Runs a shell command and returns what it printed.
std::string Shell(const std::string& command);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
// Names in the folder, sorted, "." and ".." left out.
std::vector<std::string> ListNames(const std::string& folder);
// Modification time in nanoseconds.
long long ModificationTime(const std::string& path);

// What every run prints first.
extern const char kBanner[];
// The usage text, from its golden copy.
std::string UsageText();
// The two line breaks that end every run with arguments.
extern const char kEnding[];
