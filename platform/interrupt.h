// What an interruption (SIGINT, SIGTERM, SIGHUP; Ctrl-C or a closed console
// on Windows) does to the files being written: a temporary file is removed
// before the process ends, and a rewrite in place is finished first.
#pragma once

#include <string>

// Marks `path` for removal should the process be interrupted while this
// lives; the process then ends as the signal's default action would. A path
// longer than the registry holds, or one more than it holds, is not marked.
class RemovedOnInterrupt {
 public:
  explicit RemovedOnInterrupt(const std::string& path);
  ~RemovedOnInterrupt();
  RemovedOnInterrupt(const RemovedOnInterrupt&) = delete;
  RemovedOnInterrupt& operator=(const RemovedOnInterrupt&) = delete;

 private:
  int slot_;
};

// Holds interruptions off while this lives: one that arrives meanwhile takes
// effect once the last holder ends.
class Uninterruptible {
 public:
  Uninterruptible();
  ~Uninterruptible();
  Uninterruptible(const Uninterruptible&) = delete;
  Uninterruptible& operator=(const Uninterruptible&) = delete;
};

// Shared by the platforms' halves: whether a holder lives, and removing
// every marked file (safe inside a signal handler).
bool InterruptsHeld();
void RemoveMarkedFiles();
// The platforms' halves: installs the handlers once; removes a file in a
// way that is safe inside a signal handler; acts on an interruption that
// arrived while held, once the last holder ends.
void InstallInterruptHandlers();
void RemoveFileAtInterrupt(const char* path);
void EndHeldInterrupt();
