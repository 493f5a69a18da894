// Stands in for sha_x86.cpp on processors without accelerated digest code:
// the CPU checks say no, so every engine runs its portable code.

#include "digest/cpu_dispatch.h"

bool CpuHasShaExtensions() {
  return false;
}

bool CpuHasAvxBmi2() {
  return false;
}

bool CpuHasAvx512() {
  return false;
}

void DigestAllowAcceleration(bool) {}

bool DigestAccelerationAllowed() {
  return false;
}

// Never called, since the checks above fail; defined so that the engines'
// dispatch links everywhere.
void Sha1BlocksShaNi(uint32_t state[5], const unsigned char* data, uint64_t blockCount) {
  Sha1BlocksPortable(state, data, blockCount);
}

void Sha256BlocksShaNi(uint32_t state[8], const unsigned char* data, uint64_t blockCount) {
  Sha256BlocksPortable(state, data, blockCount);
}

void Sha512BlocksAvxBmi2(uint64_t state[8], const unsigned char* data, uint64_t blockCount) {
  Sha512BlocksPortable(state, data, blockCount);
}

void Sha512BlocksAvx512(uint64_t state[8], const unsigned char* data, uint64_t blockCount) {
  Sha512BlocksPortable(state, data, blockCount);
}
