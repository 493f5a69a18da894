// A temporary folder for unit tests that touch the disk.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "platform/file_access.h"
#include "platform/path.h"

class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (;;) {
      std::filesystem::path candidate =
          std::filesystem::temp_directory_path() / ("hexloom-unit-" + std::to_string(random() % 1000000007));
      if (std::filesystem::create_directory(candidate)) {
        path_ = candidate.string();
        return;
      }
    }
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }
  // The folder joined to a name, with the platform's separator.
  std::string operator/(const std::string& name) const { return path_ + kPathSeparator + name; }

 private:
  std::string path_;
};

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void Spill(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Reads the file with ReadWholeFile; `ok` gets its result.
inline std::string ReadBack(const std::string& path, bool* ok = nullptr) {
  ByteBuffer buffer;
  bool result = ReadWholeFile(path.c_str(), buffer);
  if (ok)
    *ok = result;
  return std::string(reinterpret_cast<const char*>(buffer.data()), buffer.size());
}

// The path with every "/" written as the platform's separator.
inline std::string Native(std::string path) {
  for (char& c : path) {
    if (c == '/')
      c = kPathSeparator;
  }
  return path;
}
