// Whole-file access to the local file system. Every function answers with
// a result; reporting a failure to the user is the caller's business, apart
// from the check messages of unexpected failures.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/byte_buffer.h"

// True when a file (not a folder) of that name can be opened for reading.
bool FileExists(const char* path);

// Fills `output` with every byte of the file; false when it can't be opened
// or read whole (output is then not to be relied on). Throws std::bad_alloc
// when the file can't be held in memory.
bool ReadWholeFile(const char* path, ByteBuffer& output);

// Replaces the file by exactly `content`, through a temporary file in the
// same folder that is renamed over it; false on any failure, which leaves an
// existing file byte for byte as it was.
bool WriteWholeFile(const char* path, std::string_view content);

enum class FileComparison {
  Absent,      // no readable file of that name
  Same,        // the file holds exactly the content
  Different,   // the file exists and holds something else
  Unreadable,  // the file opened but could not be read whole
};

// Compares `content` with the file at `path` without holding a second copy
// of it in memory.
FileComparison CompareWithFile(const char* path, std::string_view content);

// True when both paths name the same existing file (not merely equal text).
bool SameFile(const char* first, const char* second);

// The machine's physical memory in bytes; texts larger than this are not
// attempted.
uint64_t PhysicalMemoryBytes();

// Check messages of the readers and writers, shared by the platforms.
void ReportEmptyPath(const char* path);
void ReportLengthFailure(const char* path, int64_t streamLength, bool good);
void ReportShortRead(const char* path);
void ReportWriteFailure(const char* path);
