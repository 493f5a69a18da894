#include "platform/byte_buffer.h"

#include <cstring>
#include <utility>

ByteBuffer::~ByteBuffer() {
  Clear();
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept {
  *this = std::move(other);
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  if (this == &other)
    return *this;
  Clear();
  owned_ = std::move(other.owned_);
  data_ = other.data_;
  size_ = other.size_;
  other.data_ = nullptr;
  other.size_ = 0;
  return *this;
}

void ByteBuffer::Clear() {
  owned_.reset();
  data_ = nullptr;
  size_ = 0;
}

unsigned char* ByteBuffer::Allocate(size_t length) {
  // Left uninitialised: the caller overwrites every byte, and zeroing a
  // large buffer first would cost as much as filling it.
  // An empty one still gets a pointer of its own, which new[] gives.
  std::unique_ptr<unsigned char[]> storage(new unsigned char[length]);
  Clear();
  owned_ = std::move(storage);
  data_ = owned_.get();
  size_ = length;
  return owned_.get();
}

void ByteBuffer::Assign(const void* bytes, size_t length) {
  unsigned char* storage = Allocate(length);
  if (length)
    std::memcpy(storage, bytes, length);
}

void ByteBuffer::Adopt(std::unique_ptr<unsigned char[]> bytes, size_t length) {
  Clear();
  owned_ = std::move(bytes);
  data_ = owned_.get();
  size_ = length;
}
