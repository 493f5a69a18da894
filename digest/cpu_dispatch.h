// Internal to the digest engines, their tests and benchmark: the code built
// for newer x86 CPUs, and the run-time choice of it. Where it is not built,
// the Cpu* checks say no and the portable code runs.
#pragma once

#include <cstdint>

// Whether the CPU has the SHA extensions, SSSE3 and SSE4.1; asks cpuid once.
bool CpuHasShaExtensions();
// Whether the CPU has AVX, BMI1 and BMI2 and the OS keeps AVX state; ditto.
bool CpuHasAvxBmi2();
// Whether it also has AVX-512 F and VL and the OS keeps their state; ditto.
bool CpuHasAvx512();

// Lets engines use accelerated code where the CPU has it (default) or not.
void DigestAllowAcceleration(bool allow);
// Whether engines may use accelerated code now.
bool DigestAccelerationAllowed();

// Each compresses blockCount blocks at data into state; the accelerated
// ones only after their CPU check above has passed.
void Sha1BlocksPortable(uint32_t state[5], const unsigned char* data, uint64_t blockCount);
void Sha1BlocksShaNi(uint32_t state[5], const unsigned char* data, uint64_t blockCount);
void Sha256BlocksPortable(uint32_t state[8], const unsigned char* data, uint64_t blockCount);
void Sha256BlocksShaNi(uint32_t state[8], const unsigned char* data, uint64_t blockCount);
void Sha512BlocksPortable(uint64_t state[8], const unsigned char* data, uint64_t blockCount);
void Sha512BlocksAvxBmi2(uint64_t state[8], const unsigned char* data, uint64_t blockCount);
void Sha512BlocksAvx512(uint64_t state[8], const unsigned char* data, uint64_t blockCount);
