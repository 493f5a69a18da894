#include "platform/file_system.h"

#include "platform/file_identity.h"
#include "platform/file_primitives.h"
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
    return ::WriteWholeFile(path.c_str(), content, &folders_);
  }

  bool CanWrite(const std::string& path) override { return CanWriteFile(path.c_str(), &folders_); }

  std::optional<FileId> IdentityOf(const std::string& path) override { return IdentityOfPath(path); }

  TargetLook LookAtTarget(const std::string& path, bool askWritable) override {
    const PathLook look = LookAtPath(path);
    if (look.id || !askWritable)
      return {look.id, false};
    // Nothing by that name: a new file there needs only its folder's leave.
    return {std::nullopt, look.nothing ? folders_.TakeNewFiles(FolderOf(path)) : CanWriteFile(path.c_str(), &folders_)};
  }

  TargetLook LookAtNewTarget(const std::string& path, bool askWritable) override {
    return {std::nullopt, askWritable && folders_.TakeNewFiles(FolderOf(path))};
  }

  bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) override {
    return ::ListFolder(folder, entries);
  }

  std::optional<uint64_t> SizeOf(const std::string& path) override { return SizeOfPath(path); }

  std::optional<std::string> CanonicalPath(const std::string& path) override { return CanonicalPathOf(path); }

 private:
  WritableFolders folders_;
};

}  // namespace

FileSystem& RealFileSystem() {
  static RealFileSystemImpl instance;
  return instance;
}
