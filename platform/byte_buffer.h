// A whole file's bytes, a digest, or any other run of bytes held in memory.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

class ByteBuffer {
 public:
  ByteBuffer() = default;
  ~ByteBuffer();
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;

  const unsigned char* data() const { return data_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  unsigned char operator[](size_t index) const { return data_[index]; }
  std::string_view view() const { return {reinterpret_cast<const char*>(data_), size_}; }

  // Replaces the content by `length` bytes of new, uninitialised memory and
  // returns it for filling. Throws std::bad_alloc when memory runs out.
  unsigned char* Allocate(size_t length);
  // Replaces the content by a copy of the bytes.
  void Assign(const void* bytes, size_t length);
  // Replaces the content by a read-only file mapping that the buffer then
  // owns and releases.
  void AdoptMapping(const unsigned char* base, size_t length);
  // Empties the buffer and releases what it held.
  void Clear();

 private:
  std::unique_ptr<unsigned char[]> owned_;
  const unsigned char* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;
};

// Releases a mapping made by the platform's file reader.
void ReleaseFileMapping(const unsigned char* base, size_t length);
