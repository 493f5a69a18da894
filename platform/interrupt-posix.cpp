#include <unistd.h>
#include <atomic>
#include <csignal>

#include "platform/interrupt.h"

namespace {

constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

// A signal that arrived while interruptions were held; read by the handler.
std::atomic<int> g_pending{0};

// Removes the marked files, then ends the process as the signal would have
// had Hexloom not caught it, so that a shell sees it interrupted.
void EndBySignal(int signal) {
  RemoveMarkedFiles();
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  sigaction(signal, &standard, nullptr);
  // Inside the handler the signal is blocked and lands as soon as the
  // handler returns; elsewhere it lands at once.
  raise(signal);
}

void OnInterrupt(int signal) {
  if (InterruptsHeld()) {
    g_pending.store(signal);
    return;
  }
  EndBySignal(signal);
}

}  // namespace

void InstallInterruptHandlers() {
  static const bool installed = [] {
    for (int signal : kInterrupts) {
      struct sigaction previous {};
      // A signal that the run was started ignoring (nohup, a background
      // job) stays ignored.
      if (sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN)
        continue;
      struct sigaction action {};
      action.sa_handler = OnInterrupt;
      sigemptyset(&action.sa_mask);
      for (int other : kInterrupts)
        sigaddset(&action.sa_mask, other);
      sigaction(signal, &action, nullptr);
    }
    return true;
  }();
  (void)installed;
}

void RemoveFileAtInterrupt(const char* path) {
  unlink(path);
}

void EndHeldInterrupt() {
  if (const int signal = g_pending.exchange(0))
    EndBySignal(signal);
}
