#include "codegen/depfile_text.h"

bool CanWriteDepfilePath(std::string_view path) {
  for (size_t i = 0; i < path.size(); ++i) {
    const char byte = path[i];
    if (byte == '\t' || byte == '\n' || byte == '\r')
      return false;
    // Ninja and Make take "\#", "\\#" and "\$$" in different ways, and a
    // backslash at the end runs into the separator after it.
    if (byte == '\\') {
      const char next = i + 1 < path.size() ? path[i + 1] : '\0';
      if (next == '\0' || next == '#' || next == ':' || next == '$')
        return false;
    }
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
