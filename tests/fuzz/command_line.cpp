// Whole command lines (arguments between zero bytes) through the driver, against a small tree in memory.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/driver.h"
#include "fuzz/fuzz_check.h"
#include "platform/file_access.h"
#include "support/capture.h"
#include "support/memory_file_system.h"

namespace {

constexpr size_t kMostArguments = 24;
const char kJobs[] = "2";

// Two folders of files and a link; nothing outside the current folder may be written.
void MakeTree(MemoryFileSystem& fs) {
  fs.Add("data/a.bin", std::string("\0\1\x7f\x80\xff?\"\\", 8));
  fs.Add("data/b.txt", "hello, world\n");
  fs.Add("data/empty.dat");
  fs.Add("assets/logo.png", "\x89PNG\r\n\x1a\n");
  fs.Add("assets/style.css", "body{}");
  fs.Add("assets/a.bin", "data/a.bin", MemoryFileSystem::Kind::Link);
  fs.AddFolder("/").writable = false;
}

// Every path below "" and "/" with what it holds, a link marked; a link to a folder is not followed.
using Tree = std::map<std::string, std::string>;
void Snapshot(MemoryFileSystem& fs, const std::string& folder, Tree& tree) {
  std::vector<FolderEntry> entries;
  fs.ListFolder(folder, entries);
  for (const FolderEntry& entry : entries) {
    const std::string path = folder.empty() ? entry.name : folder == "/" ? "/" + entry.name : folder + "/" + entry.name;
    Check(!IsTemporaryName(entry.name), "temporary file left behind");
    const bool descend = entry.kind == EntryKind::Folder && !entry.isLink;
    tree[path] = descend ? "folder" : (entry.isLink ? "link to " : "file ") + fs.Contents(path).value_or("nothing");
    if (descend)
      Snapshot(fs, path, tree);
  }
}

Tree TreeOf(MemoryFileSystem& fs) {
  Tree tree;
  Snapshot(fs, "", tree);
  Snapshot(fs, "/", tree);
  return tree;
}

// Runs the arguments on a fresh tree; returns what the tree holds afterwards.
Tree Run(std::vector<std::string> arguments, int& exitCode) {
  MemoryFileSystem fs;
  MakeTree(fs);
  std::vector<char*> argv;
  for (std::string& argument : arguments)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  const std::string console = CaptureConsole([&] {
    try {
      exitCode = RunHexloomOn(fs, static_cast<int>(arguments.size()), argv.data(), kJobs);
    } catch (...) {
      Check(false, "an exception escapes the driver");
    }
  });
  Check(exitCode == 0 || exitCode == -1, "exit code neither 0 nor -1");
  for (const char c : console)
    Check(c == '\n' || (static_cast<unsigned char>(c) >= ' ' && c != '\x7f'), "control byte on the console");
  return TreeOf(fs);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> arguments = Split({reinterpret_cast<const char*>(data), size}, '\0');
  arguments.resize(std::min(arguments.size(), kMostArguments));
  arguments.insert(arguments.begin(), "hexloom");

  MemoryFileSystem fresh;
  MakeTree(fresh);
  const Tree before = TreeOf(fresh);

  int exitCode = 0, again = 0, tested = 0;
  const Tree after = Run(arguments, exitCode);
  for (const auto& [path, holds] : after) {
    Check(!path.starts_with('/'), "written outside the current folder");
    Check(holds != "folder" || before.count(path), "a folder made");
  }
  Check(Run(arguments, again) == after && again == exitCode, "the same arguments differ the second time");
  arguments.insert(arguments.begin() + 1, "-test");
  Check(Run(arguments, tested) == before, "a file changes in test mode");
  return 0;
}
