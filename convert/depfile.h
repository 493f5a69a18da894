// What a run read and listed, for its dependency file (-depfile), and the
// file written from it at the end of the run.
#pragma once

#include <set>
#include <string>
#include <vector>

struct RunState;

// Paths in the order first met, each once.
struct PathsInOrder {
  std::vector<std::string> paths;
  std::set<std::string> seen;

  // Appends the path unless it is there already.
  void Add(const std::string& path) {
    if (seen.insert(path).second)
      paths.push_back(path);
  }
};

// The run's targets (every output written or found the same) and
// prerequisites (every input read, every folder a scan listed), as the run
// named them. A run whose command line never names -depfile records
// nothing: two string sets a file would cost a tree of small files dearly.
struct DependencyRecord {
  bool recording = true;
  PathsInOrder targets;
  PathsInOrder prerequisites;

  // Adds the output unless it is there already or nothing is recorded.
  void AddTarget(const std::string& path) {
    if (recording)
      targets.Add(path);
  }
  // Adds the input or listed folder unless it is there already or nothing
  // is recorded.
  void AddPrerequisite(const std::string& path) {
    if (recording)
      prerequisites.Add(path);
  }
};

// Writes the run's dependency file at `path` through the change-aware path
// (not at all in test mode), printing its line; false after an error, which
// it has reported: an output that failed, or a path that can't be written.
bool WriteDepfile(RunState& run, const std::string& path, bool testMode);
