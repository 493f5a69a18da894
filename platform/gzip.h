// gzip members (RFC 1952) of bytes held in memory, made with zlib so that a
// web server can send them as they are and a program can inflate them.
#pragma once

#include <cstddef>

#include "platform/byte_buffer.h"

// True when this build can compress: it was linked with zlib.
bool GzipAvailable();

// Fills `out` with one gzip member of the bytes at zlib's best compression,
// with modification time 0, no name and OS byte 255, so that the same bytes
// give the same member on every machine. Returns false, `out` cleared, when
// the member would be longer than `limit` bytes, when zlib fails or when the
// build has no zlib. Throws std::bad_alloc when memory runs out.
bool GzipWithin(const unsigned char* data, size_t size, size_t limit, ByteBuffer& out);
