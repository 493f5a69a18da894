// A build without zlib: nothing is ever compressed.
#include "platform/gzip.h"

bool GzipAvailable() {
  return false;
}

bool GzipWithin(const unsigned char*, size_t, size_t, ByteBuffer& out) {
  out.Clear();
  return false;
}
