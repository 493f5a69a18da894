#include "codegen/depfile_text.h"

namespace {

// Ninja 1.11 ends a name at these whatever escapes them; Make reads "=" as an
// assignment, "%" as a pattern and "*" or "?" as a wildcard.
constexpr std::string_view kUnwritableBytes = "\"&'*;<>?^`|=%";
constexpr unsigned char kLastControl = 0x1F, kDelete = 0x7F;

// Make reads "lib(member)" as an archive member.
bool ReadsAsArchiveMember(std::string_view path) {
  const size_t open = path.find('(');
  return open != std::string_view::npos && open > 0 && path.ends_with(')') && open + 2 < path.size();
}

}  // namespace

bool CanWriteDepfilePath(std::string_view path) {
  // Make expands a leading "~" to a home folder and "[...]" to the files it
  // matches; Ninja reads "\:" before the separator as a backslash, and a
  // backslash at the end runs into the separator after it.
  const size_t open = path.find('[');
  if (path.starts_with('~') || path.ends_with(':') || path.ends_with('\\') || ReadsAsArchiveMember(path) ||
      (open != std::string_view::npos && path.find(']', open + 1) != std::string_view::npos))
    return false;
  for (size_t i = 0; i < path.size(); ++i) {
    const char byte = path[i];
    const auto code = static_cast<unsigned char>(byte);
    if (code <= kLastControl || code == kDelete || kUnwritableBytes.find(byte) != std::string_view::npos)
      return false;
    // Ninja and Make take "\#", "\\#" and "\$$" in different ways; the last
    // byte is no backslash.
    if (byte == '\\' && std::string_view("#:$").find(path[i + 1]) != std::string_view::npos)
      return false;
  }
  return true;
}

std::string EscapeDepfilePath(std::string_view path) {
  std::string escaped;
  escaped.reserve(path.size());
  size_t backslashes = 0;  // just before the byte being written
  for (const char byte : path) {
    switch (byte) {
      case ' ':
        // Both read 2N+1 backslashes before a space as N and the space.
        escaped.append(backslashes + 1, '\\');
        break;
      case '#':
      case ':': escaped += '\\'; break;
      case '$': escaped += '$'; break;
      default: break;
    }
    escaped += byte;
    backslashes = byte == '\\' ? backslashes + 1 : 0;
  }
  return escaped;
}

std::string BuildDepfileText(const std::vector<std::string>& targets, const std::vector<std::string>& prerequisites) {
  if (targets.empty())
    return "";
  std::string text;
  for (const std::string& target : targets) {
    text += text.empty() ? "" : " ";
    text += EscapeDepfilePath(target);
  }
  text += ':';
  for (const std::string& prerequisite : prerequisites) {
    text += " \\\n  ";
    text += EscapeDepfilePath(prerequisite);
  }
  text += '\n';
  for (const std::string& prerequisite : prerequisites) {
    text += EscapeDepfilePath(prerequisite);
    text += ":\n";
  }
  return text;
}
