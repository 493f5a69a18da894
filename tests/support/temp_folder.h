// Temporary folders and whole-file reads and writes, for every level of the tests.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/file_access.h"
#include "platform/path.h"

// The platform's path separator, known without linking the product.
inline constexpr char kTestSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

// A fresh folder in the system's temporary folder, removed with everything in it, whatever rights a test took away,
// when the value ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::mt19937_64 random(std::random_device{}());
    do
      path_ = (std::filesystem::temp_directory_path() / ("hexloom-test-" + std::to_string(random()))).string();
    while (!std::filesystem::create_directory(path_));
  }
  ~ScratchFolder() {
    namespace fs = std::filesystem;
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto it = fs::recursive_directory_iterator(path_, ignored); it != fs::end(it); it.increment(ignored)) {
      if (!it->is_symlink(ignored))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }
  // The folder joined to a name, with the platform's separator.
  std::string operator/(const std::string& name) const { return path_ + kTestSeparator + name; }

 private:
  std::string path_;
};

// The bytes of a file; empty when it can't be read.
inline std::string Slurp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Makes the file hold exactly the bytes.
inline void Spill(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Names in the folder, sorted.
inline std::vector<std::string> ListNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::ranges::sort(names);
  return names;
}

// Reads the file with ReadWholeFile; `ok` gets its result.
inline std::string ReadBack(const std::string& path, bool* ok = nullptr) {
  ByteBuffer buffer;
  const bool result = ReadWholeFile(path.c_str(), buffer) == ReadResult::Done;
  if (ok)
    *ok = result;
  return std::string(reinterpret_cast<const char*>(buffer.data()), buffer.size());
}

// The path with every "/" written as the platform's separator.
inline std::string Native(std::string path) {
  std::ranges::replace(path, '/', kTestSeparator);
  return path;
}
