// A whole file's bytes, a digest, or any other run of bytes held in memory.
#pragma once

#include <cstddef>
#include <memory>

class ByteBuffer {
 public:
  ByteBuffer() = default;
  ~ByteBuffer();
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;
  // Takes over what `other` held, leaving it empty.
  ByteBuffer(ByteBuffer&& other) noexcept;
  ByteBuffer& operator=(ByteBuffer&& other) noexcept;

  const unsigned char* data() const { return data_; }
  size_t size() const { return size_; }

  // Replaces the content by `length` bytes of new, uninitialised memory and
  // returns it for filling. Throws std::bad_alloc when memory runs out.
  unsigned char* Allocate(size_t length);
  // Replaces the content by a copy of the bytes.
  void Assign(const void* bytes, size_t length);
  // Replaces the content by the first `length` bytes of `bytes`.
  void Adopt(std::unique_ptr<unsigned char[]> bytes, size_t length);
  // Empties the buffer and releases what it held.
  void Clear();

 private:
  std::unique_ptr<unsigned char[]> owned_;
  const unsigned char* data_ = nullptr;
  size_t size_ = 0;
};
