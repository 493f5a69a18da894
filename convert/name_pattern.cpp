#include "convert/name_pattern.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace {

constexpr size_t kNone = std::string_view::npos;

// Returns whether the byte is of the class; none for a name that is no class.
std::optional<bool> InClass(std::string_view name, unsigned char c) {
  struct Class {
    std::string_view name;
    int (*test)(int);
  };
  // As in the "C" locale, which the program never leaves: ASCII only, the
  // same on every platform.
  static const Class kClasses[] = {
      {"alnum", [](int b) { return std::isalnum(b); }}, {"alpha", [](int b) { return std::isalpha(b); }},
      {"blank", [](int b) { return std::isblank(b); }}, {"cntrl", [](int b) { return std::iscntrl(b); }},
      {"digit", [](int b) { return std::isdigit(b); }}, {"graph", [](int b) { return std::isgraph(b); }},
      {"lower", [](int b) { return std::islower(b); }}, {"print", [](int b) { return std::isprint(b); }},
      {"punct", [](int b) { return std::ispunct(b); }}, {"space", [](int b) { return std::isspace(b); }},
      {"upper", [](int b) { return std::isupper(b); }}, {"xdigit", [](int b) { return std::isxdigit(b); }}};
  constexpr unsigned char kFirstNonAscii = 0x80;
  for (const Class& row : kClasses) {
    if (row.name == name)
      return c < kFirstNonAscii && row.test(c) != 0;
  }
  return std::nullopt;
}

// Reads the byte at `at`, or the one after it when it is a "\"; kNone at the end.
size_t ReadByte(std::string_view pattern, size_t at, unsigned char& byte) {
  if (at < pattern.size() && pattern[at] == '\\')
    ++at;
  if (at >= pattern.size())
    return kNone;
  byte = static_cast<unsigned char>(pattern[at]);
  return at + 1;
}

// What a "[:" inside a set turned out to be.
enum class Form { Read, Plain, Broken };

// Reads the "[:name:]" at `at` into `found`, setting `at` past it. A name
// with a byte other than a to y is no class, and its "[" a plain byte; an
// unknown name of such bytes breaks the pattern, as in glibc.
Form ReadClass(std::string_view pattern, size_t& at, unsigned char c, bool& found) {
  const size_t start = at + 2;
  for (size_t end = start;; ++end) {
    if (pattern.compare(end, 2, ":]") == 0) {
      const std::optional<bool> in = InClass(pattern.substr(start, end - start), c);
      if (!in)
        return Form::Broken;
      found = found || *in;
      at = end + 2;
      return Form::Read;
    }
    if (end == pattern.size() || pattern[end] < 'a' || pattern[end] >= 'z')
      return Form::Plain;
  }
}

// Reads the collating symbol "[.x.]" at `at` into `byte`, setting `at` past
// it; false when its name is not one byte, the only names of the C locale.
bool ReadCollating(std::string_view pattern, size_t& at, unsigned char& byte) {
  if (pattern.find(".]", at + 3) != at + 3)
    return false;
  byte = static_cast<unsigned char>(pattern[at + 2]);
  at += 5;
  return true;
}

enum class Set { Closed, Open, Broken };

// Passes over the rest of a set whose byte has matched, from `at` to past its
// "]" (`end`). As glibc does, it checks less than a set still being read: any
// "[:name:]" goes, but "[=x=]" must be whole and "[." must have its ".]".
Set SkipRest(std::string_view pattern, size_t at, size_t& end) {
  while (at < pattern.size()) {
    const char c = pattern[at++];
    const char form = at < pattern.size() ? pattern[at] : '\0';
    if (c == ']') {
      end = at;
      return Set::Closed;
    }
    if (c == '\\') {
      ++at;
    } else if (c == '[' && form == ':') {
      size_t name = at + 1;
      while (name < pattern.size() && pattern[name] >= 'a' && pattern[name] < 'z')
        ++name;
      at = pattern.compare(name, 2, ":]") == 0 ? name + 2 : at;
    } else if (c == '[' && form == '=') {
      if (at + 3 >= pattern.size() || pattern.compare(at + 2, 2, "=]") != 0)
        return Set::Broken;
      at += 4;
    } else if (c == '[' && form == '.') {
      const size_t close = pattern.find(".]", at + 1);
      if (close == kNone)
        return Set::Broken;
      at = close + 2;
    }
  }
  return Set::Open;
}

// Reads the set that opens with the "[" at `open`: Closed with `end` past its
// "]", Open for a "[" without one, Broken where glibc gives up on it for c;
// `matched` tells whether c is in the set.
Set ReadSet(std::string_view pattern, size_t open, unsigned char c, size_t& end, bool& matched) {
  size_t at = open + 1;
  const bool negated = at < pattern.size() && (pattern[at] == '!' || pattern[at] == '^');
  at += negated ? 1 : 0;
  bool found = false;
  // A "]" first in the set is one of its bytes.
  for (bool first = true; at < pattern.size() && (first || pattern[at] != ']'); first = false) {
    if (found) {
      const Set rest = SkipRest(pattern, at, end);
      matched = !negated;
      return rest;
    }
    const char form = pattern[at] == '[' && at + 1 < pattern.size() ? pattern[at + 1] : '\0';
    if (form == ':') {
      const Form read = ReadClass(pattern, at, c, found);
      if (read == Form::Broken)
        return Set::Broken;
      if (read == Form::Read)
        continue;
    }
    // An equivalence class is its one byte in the C locale, and starts no range.
    if (form == '=' && at + 4 < pattern.size() && pattern.compare(at + 3, 2, "=]") == 0) {
      found = found || static_cast<unsigned char>(pattern[at + 2]) == c;
      at += 5;
      continue;
    }
    unsigned char low = 0;
    unsigned char high = 0;
    if (form == '.') {
      if (!ReadCollating(pattern, at, low))
        return Set::Broken;
    } else if ((at = ReadByte(pattern, at, low)) == kNone) {
      return Set::Open;
    }
    high = low;
    if (at + 1 < pattern.size() && pattern[at] == '-' && pattern[at + 1] != ']') {
      if (pattern.compare(at + 1, 2, "[.") == 0) {
        if (!ReadCollating(pattern, ++at, high))
          return Set::Broken;
      } else if ((at = ReadByte(pattern, at + 1, high)) == kNone) {
        return Set::Open;
      }
    }
    found = found || (low <= c && c <= high);
  }
  if (at >= pattern.size())
    return Set::Open;
  matched = found != negated;
  end = at + 1;
  return Set::Closed;
}

// Whether one byte of the name matches the pattern's element at `at`,
// setting `next` past the element.
bool MatchElement(std::string_view pattern, size_t at, unsigned char c, size_t& next) {
  if (at == pattern.size())
    return false;
  if (pattern[at] == '?') {
    next = at + 1;
    return true;
  }
  unsigned char byte = '[';
  if (pattern[at] == '[') {
    bool matched = false;
    const Set set = ReadSet(pattern, at, c, next, matched);
    // A set that breaks the pattern fails here only: a "*" before it still
    // tries the bytes after this one, as glibc does.
    if (set != Set::Open)
      return set == Set::Closed && matched;
    next = at + 1;
  } else {
    next = ReadByte(pattern, at, byte);
  }
  return next != kNone && byte == c;
}

}  // namespace

bool MatchesPattern(std::string_view pattern, std::string_view name) {
  size_t at = 0;
  size_t n = 0;
  // Where the last "*" met resumes: the pattern after it, and the name's
  // byte that it is tried from.
  size_t starAt = kNone;
  size_t starFrom = 0;
  while (n < name.size()) {
    if (at < pattern.size() && pattern[at] == '*') {
      starAt = ++at;
      starFrom = n;
      continue;
    }
    size_t next = 0;
    if (MatchElement(pattern, at, static_cast<unsigned char>(name[n]), next)) {
      at = next;
      ++n;
    } else if (starAt == kNone) {
      return false;
    } else {
      at = starAt;
      n = ++starFrom;
    }
  }
  while (at < pattern.size() && pattern[at] == '*')
    ++at;
  return at == pattern.size();
}

bool MatchesAnyPattern(const std::vector<std::string>& patterns, std::string_view name) {
  return std::any_of(patterns.begin(), patterns.end(),
                     [name](const std::string& pattern) { return MatchesPattern(pattern, name); });
}
