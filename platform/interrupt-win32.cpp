#include <windows.h>

#include "platform/interrupt.h"

namespace {

// How long the console handler waits between looks at a rewrite in place.
constexpr DWORD kWaitMilliseconds = 10;

// Runs on a thread of its own: waits for a rewrite in place to end, removes
// the marked files, and lets the default handler end the process.
BOOL WINAPI OnConsoleEvent(DWORD) {
  while (InterruptsHeld())
    Sleep(kWaitMilliseconds);
  RemoveMarkedFiles();
  return FALSE;
}

}  // namespace

void InstallInterruptHandlers() {
  static const bool installed = SetConsoleCtrlHandler(OnConsoleEvent, TRUE) != 0;
  (void)installed;
}

// The temporary is open with delete sharing, so it goes once its handle
// closes as the process ends.
void RemoveFileAtInterrupt(const char* path) {
  DeleteFileA(path);
}

// The console handler waits for the holders itself.
void EndHeldInterrupt() {}
