#include "support/memory_file_system.h"

#include <algorithm>
#include <filesystem>

#include "platform/path.h"

namespace {

// Deeper than this, a path is taken to run round a loop of links.
constexpr int kMaxLinkDepth = 40;

// The root keeps its "/"; a name without one is in the top folder.
std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, std::max<size_t>(slash, 1));
}

// The content in one string.
std::string Gather(ContentPieces& content) {
  std::string bytes;
  ForEachPiece(content, [&](const char* piece, size_t length) {
    bytes.append(piece, length);
    return true;
  });
  return bytes;
}

}  // namespace

std::string MemoryFileSystem::Normal(std::string path) {
  std::ranges::replace(path, '\\', '/');
  path = std::filesystem::path(path).lexically_normal().generic_string();
  if (path.size() > 1 && path.ends_with('/'))
    path.pop_back();
  return path == "." ? "" : path;
}

MemoryFileSystem::Node& MemoryFileSystem::Add(const std::string& path, std::string bytes, Kind kind) {
  std::lock_guard guard(lock_);
  const std::string normal = Normal(path), parent = ParentOf(normal);
  if (parent != normal && !nodes_.count(parent))
    AddFolder(parent);
  return *(nodes_[normal] = std::make_shared<Node>(Node{kind, kind == Kind::Link ? Normal(bytes) : std::move(bytes)}));
}

std::optional<std::string> MemoryFileSystem::Resolve(const std::string& path, int depth) const {
  if (depth > kMaxLinkDepth)
    return std::nullopt;
  // The first link along the path starts the walk again at its target followed by the rest of the path.
  const std::string normal = Normal(path);
  for (size_t end = normal.find('/', 1);; end = normal.find('/', end + 1)) {
    auto found = nodes_.find(normal.substr(0, end));
    if (found != nodes_.end() && found->second->kind == Kind::Link)
      return Resolve(found->second->bytes + (end == std::string::npos ? "" : normal.substr(end)), depth + 1);
    if (end == std::string::npos)
      return normal;
  }
}

std::shared_ptr<MemoryFileSystem::Node> MemoryFileSystem::Find(const std::string& path) const {
  std::lock_guard guard(lock_);
  const std::optional<std::string> resolved = Resolve(path);
  auto found = resolved ? nodes_.find(*resolved) : nodes_.end();
  return found == nodes_.end() ? nullptr : found->second;
}

std::shared_ptr<MemoryFileSystem::Node> MemoryFileSystem::FindFile(const std::string& path) const {
  auto node = Find(path);
  return node && node->kind != Kind::Folder ? node : nullptr;
}

std::optional<std::string> MemoryFileSystem::Contents(const std::string& path) const {
  auto node = FindFile(path);
  return node ? std::optional(node->bytes) : std::nullopt;
}

ReadResult MemoryFileSystem::ReadWholeFile(const std::string& path, PipeWait, ByteBuffer& output) {
  std::lock_guard guard(lock_);
  readers_[Normal(path)].push_back(std::this_thread::get_id());
  auto node = FindFile(path);
  if (!node || !node->readable)
    return ReadResult::CantOpen;
  output.Assign(node->bytes.data(), node->bytes.size());
  return ReadResult::Done;
}

// The whole file in one block.
ReadResult MemoryFileSystem::ReadInBlocks(const std::string& path, PipeWait wait, const BlockConsumer& consume) {
  ByteBuffer bytes;
  const ReadResult read = ReadWholeFile(path, wait, bytes);
  if (read == ReadResult::Done)
    consume(bytes.data(), bytes.size());
  return read;
}

FileComparison MemoryFileSystem::CompareWithFile(const std::string& path, ContentPieces& content) {
  std::lock_guard guard(lock_);
  auto node = FindFile(path);
  if (!node)
    return FileComparison::Absent;
  if (!node->readable)
    return FileComparison::Unreadable;
  return node->bytes == Gather(content) ? FileComparison::Same : FileComparison::Different;
}

bool MemoryFileSystem::CanWrite(const std::string& path) {
  std::lock_guard guard(lock_);
  const std::optional<std::string> resolved = Resolve(path);
  if (!resolved)
    return false;
  if (auto found = nodes_.find(*resolved); found != nodes_.end())
    return found->second->kind == Kind::File && found->second->writable;
  // A new file needs a folder that may be written.
  auto folder = Find(ParentOf(*resolved));
  return folder && folder->kind == Kind::Folder && folder->writable;
}

WriteResult MemoryFileSystem::WriteWholeFile(const std::string& path, ContentPieces& content) {
  std::lock_guard guard(lock_);
  if (!CanWrite(path))
    return WriteResult::Refused;
  (Find(path) ? *Find(path) : Add(*Resolve(path))).bytes = Gather(content);
  return WriteResult::Done;
}

std::optional<FileId> MemoryFileSystem::IdentityOf(const std::string& path) {
  auto node = Find(path);
  // A node lives as long as a name leads to it, so its address is its identity.
  return node ? std::optional(FileId{0, reinterpret_cast<uintptr_t>(node.get())}) : std::nullopt;
}

bool MemoryFileSystem::ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  std::lock_guard guard(lock_);
  entries.clear();
  auto node = Find(folder);
  if (!node || node->kind != Kind::Folder || !node->readable)
    return false;
  const std::string resolved = *Resolve(folder);
  for (const auto& [path, entry] : nodes_) {
    if (path == resolved || ParentOf(path) != resolved)
      continue;
    // What a link leads to, which is never a link; one that leads nowhere is neither a file nor a folder.
    auto target = Find(path);
    const EntryKind kinds[] = {EntryKind::File, EntryKind::Folder};
    entries.push_back({path.substr(path.rfind('/') + 1),
                       target ? kinds[static_cast<int>(target->kind)] : EntryKind::Other, entry->kind == Kind::Link,
                       std::nullopt, std::nullopt});
  }
  return true;
}

std::optional<std::string> MemoryFileSystem::CanonicalPath(const std::string& path) {
  std::lock_guard guard(lock_);
  const std::optional<std::string> resolved = Resolve(path);
  if (!resolved || !Find(*resolved))
    return std::nullopt;
  // Spelled as the platform spells real paths, so that callers can compare it with paths they join themselves.
  std::string canonical = resolved->starts_with('/') ? *resolved : "/" + *resolved;
  std::ranges::replace(canonical, '/', kPathSeparator);
  return canonical;
}

std::optional<uint64_t> MemoryFileSystem::SizeOf(const std::string& path) {
  std::lock_guard guard(lock_);
  auto node = FindFile(path);
  return node ? std::optional<uint64_t>(node->bytes.size()) : std::nullopt;
}
