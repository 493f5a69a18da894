#include "platform/interrupt.h"

#include <atomic>
#include <cstring>

namespace {

// Only one file is written at a time; a few more slots cover the threads
// that might ever write at once.
constexpr int kSlots = 16;
constexpr size_t kMaxPath = 4096;

enum SlotState : int { kFree, kFilling, kMarked };

struct Slot {
  std::atomic<int> state{kFree};
  char path[kMaxPath];
};

// A signal handler reads these, so they live in static storage that needs
// no construction at run time; nothing else in the program is global.
Slot g_slots[kSlots];
std::atomic<int> g_holders{0};

}  // namespace

RemovedOnInterrupt::RemovedOnInterrupt(const std::string& path) : slot_(-1) {
  InstallInterruptHandlers();
  if (path.size() >= kMaxPath)
    return;
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (g_slots[i].state.compare_exchange_strong(expected, kFilling)) {
      std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
      g_slots[i].state.store(kMarked);
      slot_ = i;
      return;
    }
  }
}

RemovedOnInterrupt::~RemovedOnInterrupt() {
  if (slot_ >= 0)
    g_slots[slot_].state.store(kFree);
}

Uninterruptible::Uninterruptible() {
  InstallInterruptHandlers();
  g_holders.fetch_add(1);
}

Uninterruptible::~Uninterruptible() {
  if (g_holders.fetch_sub(1) == 1)
    EndHeldInterrupt();
}

bool InterruptsHeld() {
  return g_holders.load() > 0;
}

void RemoveMarkedFiles() {
  for (Slot& slot : g_slots) {
    if (slot.state.load() == kMarked)
      RemoveFileAtInterrupt(slot.path);
  }
}
