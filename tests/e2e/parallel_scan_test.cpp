// A scan whose files are prepared on many threads prints and writes exactly
// what a scan of one file at a time does, faults included.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sys/stat.h>

#include "support/run.h"
#include "support/temp_folder.h"

namespace {

using Files = std::map<std::string, std::string>;  // every file below the folder, by relative path

// Scans a tree mixing large and small files, a file that can't be read, a
// file the scan would write over, and two files with one output.
std::pair<RunResult, Files> Scan(const std::vector<std::string>& arguments, const char* jobs, RunOptions options) {
  namespace fs = std::filesystem;
  ScratchFolder folder;
  fs::create_directories(folder / "d/sub");
  for (int i = 0; i < 40; ++i)
    Spill(folder / ("d/s" + std::to_string(i) + ".cpp.dat"), std::string(i * 37, static_cast<char>(i)));
  for (int i = 0; i < 2; ++i)
    Spill(folder / ("d/sub/big" + std::to_string(i) + ".cpp.dat"), std::string((3 << 19) + i, static_cast<char>('a' + i)));
  for (const char* name : {"self.cpp", "A.cpp.dat", "a.cpp.dat", "locked.cpp.dat"})
    Spill(folder / ("d/" + std::string(name)), name);
  chmod((folder / "d/locked.cpp.dat").c_str(), 0600);  // unreadable to nobody
  for (const char* writable : {"d", "d/sub"})
    chmod((folder / writable).c_str(), 0777);
  setenv("HEXLOOM_JOBS", jobs, 1);
  options.folder = folder.path();
  std::pair<RunResult, Files> outcome{RunBinary(arguments, options), {}};
  unsetenv("HEXLOOM_JOBS");
  for (const auto& entry : fs::recursive_directory_iterator(folder.path())) {
    if (entry.is_regular_file())
      outcome.second[entry.path().lexically_relative(folder.path()).string()] = Slurp(entry.path().string());
  }
  return outcome;
}

TEST(ParallelScan, ManyThreadsPrintAndWriteWhatOneDoes) {
  const std::vector<std::vector<std::string>> commands = {
      {"-p", "d", ".cpp"}, {"-sha256", "-p", "d", ".CPP"}, {"-test", "-cxx_md5", "-p", "d", ".cpp", "-p", "d", ".dat"}};
  const RunOptions faults[] = {{.unprivileged = true}, {.closedOutput = true}, {.fileSizeLimit = 1 << 20}};
  for (const std::vector<std::string>& command : commands) {
    for (const RunOptions& fault : faults) {
      const auto [one, oneFiles] = Scan(command, "1", fault);
      if (command[0] == "-p" && !fault.closedOutput) {
        EXPECT_NE(one.output.find("Output would overwrite its input"), std::string::npos);
        EXPECT_NE(one.output.find("Output already written for another input"), std::string::npos);
      }
      const auto [many, manyFiles] = Scan(command, "8", fault);
      EXPECT_EQ(many.output, one.output) << command[1];
      EXPECT_EQ(many.exitCode, one.exitCode) << command[1];
      EXPECT_TRUE(manyFiles == oneFiles) << command[1];
    }
  }
}

}  // namespace
