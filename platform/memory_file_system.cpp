#include "platform/memory_file_system.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/path.h"

namespace {

constexpr int kMaxLinkDepth = 40;
constexpr size_t kBlockBytes = 7;

// One spelling per path: "/" separators, no "./", no doubled or trailing
// separator.
std::string Normalise(const std::string& path) {
  std::string result;
  for (char c : path) {
    c = c == '\\' ? '/' : c;
    if (c == '/' && !result.empty() && result.back() == '/')
      continue;
    result += c;
  }
  while (result.size() > 1 && result.back() == '/')
    result.pop_back();
  while (result.rfind("./", 0) == 0)
    result.erase(0, 2);
  return result == "." ? "" : result;
}

std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return "";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty())
    return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool IsTop(const std::string& path) {
  return path.empty() || path == "/";
}

}  // namespace

std::shared_ptr<MemoryFileSystem::Node> MemoryFileSystem::Add(const std::string& path, Kind kind, std::string bytes) {
  auto node = std::make_shared<Node>();
  node->kind = kind;
  node->bytes = std::move(bytes);
  node->id = nextId_++;
  nodes_[Normalise(path)] = node;
  return node;
}

void MemoryFileSystem::AddFile(const std::string& path, std::string bytes) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (auto node = Find(path); node && node->kind == Kind::File) {
    node->bytes = std::move(bytes);
    return;
  }
  Add(path, Kind::File, std::move(bytes));
}

void MemoryFileSystem::AddFolder(const std::string& path) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  const std::string normal = Normalise(path);
  if (IsTop(normal) || nodes_.count(normal))
    return;
  AddFolder(ParentOf(normal));
  Add(normal, Kind::Folder, {});
}

void MemoryFileSystem::AddLink(const std::string& path, const std::string& target) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  Add(path, Kind::Link, Normalise(target));
}

void MemoryFileSystem::AddHardLink(const std::string& path, const std::string& existing) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  nodes_[Normalise(path)] = Find(existing);
}

void MemoryFileSystem::AddSpecial(const std::string& path, std::string bytes) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  Add(path, Kind::Special, std::move(bytes));
}

void MemoryFileSystem::SetWritable(const std::string& path, bool writable) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  Find(path)->writable = writable;
}

void MemoryFileSystem::SetReadable(const std::string& path, bool readable) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  Find(path)->readable = readable;
}

void MemoryFileSystem::SetTooLarge(const std::string& path) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  Find(path)->tooLarge = true;
}

void MemoryFileSystem::SetFailsAfter(const std::string& path, size_t bytes) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  Find(path)->failsAfter = bytes;
}

std::optional<std::string> MemoryFileSystem::Resolve(const std::string& path) const {
  std::string pending = Normalise(path);
  for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
    // Walks the components; the first link met restarts the walk at its
    // target followed by the rest of the path.
    std::string done = pending.rfind('/', 0) == 0 ? "/" : "";
    size_t start = done.size();
    bool restarted = false;
    while (start < pending.size()) {
      size_t end = pending.find('/', start);
      if (end == std::string::npos)
        end = pending.size();
      done = Join(done, pending.substr(start, end - start));
      start = end + 1;
      auto found = nodes_.find(done);
      if (found != nodes_.end() && found->second->kind == Kind::Link) {
        pending = start < pending.size() ? Join(found->second->bytes, pending.substr(start)) : found->second->bytes;
        restarted = true;
        break;
      }
    }
    if (!restarted)
      return done;
  }
  return std::nullopt;
}

std::shared_ptr<MemoryFileSystem::Node> MemoryFileSystem::Find(const std::string& path) const {
  const std::optional<std::string> resolved = Resolve(path);
  if (!resolved)
    return nullptr;
  auto found = nodes_.find(*resolved);
  return found == nodes_.end() ? nullptr : found->second;
}

bool MemoryFileSystem::FolderWritable(const std::string& resolved) const {
  const std::string parent = ParentOf(resolved);
  if (IsTop(parent))
    return true;
  auto folder = Find(parent);
  return folder && folder->kind == Kind::Folder && folder->writable;
}

std::optional<std::string> MemoryFileSystem::Contents(const std::string& path) const {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  auto node = Find(path);
  if (!node || node->kind == Kind::Folder)
    return std::nullopt;
  return node->bytes;
}

int MemoryFileSystem::WriteCount(const std::string& path) const {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  auto node = Find(path);
  return node ? node->writes : 0;
}

std::vector<std::string> MemoryFileSystem::Paths() const {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  std::vector<std::string> paths;
  for (const auto& [path, node] : nodes_)
    paths.push_back(path);
  return paths;
}

ReadResult MemoryFileSystem::ReadWholeFile(const std::string& path, PipeWait, ByteBuffer& output) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  auto node = Find(path);
  if (!node || node->kind == Kind::Folder || !node->readable)
    return ReadResult::CantOpen;
  if (node->tooLarge)
    return ReadResult::TooLarge;
  if (node->failsAfter)
    return ReadResult::CantRead;
  output.Assign(node->bytes.data(), node->bytes.size());
  return ReadResult::Done;
}

ReadResult MemoryFileSystem::ReadInBlocks(const std::string& path, PipeWait, const BlockConsumer& consume) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  auto node = Find(path);
  if (!node || node->kind == Kind::Folder || !node->readable)
    return ReadResult::CantOpen;
  const auto* bytes = reinterpret_cast<const unsigned char*>(node->bytes.data());
  const size_t end = std::min(node->bytes.size(), node->failsAfter.value_or(SIZE_MAX));
  // Blocks of a few bytes, so that every digest is fed across its own blocks.
  for (size_t offset = 0; offset < end; offset += kBlockBytes) {
    if (!consume(bytes + offset, std::min(kBlockBytes, end - offset)))
      return ReadResult::Done;
  }
  return node->failsAfter ? ReadResult::CantRead : ReadResult::Done;
}

FileComparison MemoryFileSystem::CompareWithFile(const std::string& path, ContentPieces& content) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  auto node = Find(path);
  if (!node || node->kind == Kind::Folder)
    return FileComparison::Absent;
  if (!node->readable)
    return FileComparison::Unreadable;
  if (node->kind != Kind::File || node->bytes.size() != content.size)
    return FileComparison::Different;
  size_t offset = 0;
  const bool same = ForEachPiece(content, [&](const char* piece, size_t length) {
    const bool equal = std::memcmp(node->bytes.data() + offset, piece, length) == 0;
    offset += length;
    return equal;
  });
  return same ? FileComparison::Same : FileComparison::Different;
}

bool MemoryFileSystem::CanWrite(const std::string& path) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  const std::optional<std::string> resolved = Resolve(path);
  if (!resolved)
    return false;
  auto found = nodes_.find(*resolved);
  if (found != nodes_.end())
    return found->second->kind == Kind::File && found->second->writable;
  return FolderWritable(*resolved);
}

bool MemoryFileSystem::WriteWholeFile(const std::string& path, ContentPieces& content) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (!CanWrite(path))
    return false;
  std::string bytes;
  ForEachPiece(content, [&](const char* piece, size_t length) {
    bytes.append(piece, length);
    return true;
  });
  const std::string resolved = *Resolve(path);
  auto found = nodes_.find(resolved);
  std::shared_ptr<Node> node = found != nodes_.end() ? found->second : Add(resolved, Kind::File, {});
  node->bytes = std::move(bytes);
  ++node->writes;
  return true;
}

std::optional<FileId> MemoryFileSystem::IdentityOf(const std::string& path) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  const std::optional<std::string> resolved = Resolve(path);
  if (resolved && IsTop(*resolved))
    return FileId{0, 0};
  auto node = Find(path);
  if (!node)
    return std::nullopt;
  return FileId{0, node->id};
}

bool MemoryFileSystem::ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  entries.clear();
  const std::optional<std::string> resolved = Resolve(folder);
  if (!resolved)
    return false;
  if (!IsTop(*resolved)) {
    auto node = Find(*resolved);
    if (!node || node->kind != Kind::Folder || !node->readable)
      return false;
  }
  for (const auto& [path, node] : nodes_) {
    if (path == *resolved || ParentOf(path) != *resolved)
      continue;
    FolderEntry entry{path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1), EntryKind::Other,
                      node->kind == Kind::Link};
    auto target = Find(path);
    if (target && target->kind == Kind::File)
      entry.kind = EntryKind::File;
    else if (target && target->kind == Kind::Folder)
      entry.kind = EntryKind::Folder;
    entries.push_back(std::move(entry));
  }
  return true;
}

std::optional<std::string> MemoryFileSystem::CanonicalPath(const std::string& path) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  const std::optional<std::string> resolved = Resolve(path);
  if (!resolved || (!IsTop(*resolved) && !Find(*resolved)))
    return std::nullopt;
  // Spelled as the platform spells real paths, so that callers can compare
  // it with paths they join themselves.
  std::string canonical = resolved->rfind('/', 0) == 0 ? *resolved : "/" + *resolved;
  for (char& c : canonical)
    c = c == '/' ? kPathSeparator : c;
  return canonical;
}

std::optional<uint64_t> MemoryFileSystem::SizeOf(const std::string& path) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  auto node = Find(path);
  if (!node || node->kind == Kind::Folder)
    return std::nullopt;
  return node->bytes.size();
}
