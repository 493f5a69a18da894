#include "platform/file_system.h"

#include "platform/file_identity.h"
#include "platform/folder.h"

namespace {

class RealFileSystemImpl final : public FileSystem {
 public:
  ReadResult ReadWholeFile(const std::string& path, PipeWait wait, ByteBuffer& output) override {
    return ::ReadWholeFile(path.c_str(), output, wait);
  }

  ReadResult ReadInBlocks(const std::string& path, PipeWait wait, const BlockConsumer& consume) override {
    return ReadFileInBlocks(path.c_str(), wait, consume);
  }

  FileComparison CompareWithFile(const std::string& path, ContentPieces& content) override {
    return ::CompareWithFile(path.c_str(), content);
  }

  WriteResult WriteWholeFile(const std::string& path, ContentPieces& content) override {
    return ::WriteWholeFile(path.c_str(), content);
  }

  bool CanWrite(const std::string& path) override { return CanWriteFile(path.c_str()); }

  std::optional<FileId> IdentityOf(const std::string& path) override { return IdentityOfPath(path); }

  bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) override {
    return ::ListFolder(folder, entries);
  }

  std::optional<uint64_t> SizeOf(const std::string& path) override { return SizeOfPath(path); }

  std::optional<std::string> CanonicalPath(const std::string& path) override { return CanonicalPathOf(path); }
};

}  // namespace

FileSystem& RealFileSystem() {
  static RealFileSystemImpl instance;
  return instance;
}
