#include "convert/name_pattern.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace {

constexpr size_t kNone = std::string_view::npos;

enum class Step { Matches, Differs, Broken };

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

// Reads the set that opens with the "[" at `open`: returns where it ends,
// past its "]", or kNone for a "[" without one; `matched` tells whether c
// is in the set.
size_t ReadSet(std::string_view pattern, size_t open, unsigned char c, bool& matched) {
  size_t at = open + 1;
  const bool negated = at < pattern.size() && (pattern[at] == '!' || pattern[at] == '^');
  at += negated ? 1 : 0;
  bool found = false;
  bool valid = true;
  // A "]" first in the set is one of its bytes.
  for (bool first = true; at < pattern.size() && (first || pattern[at] != ']'); first = false) {
    if (pattern.compare(at, 2, "[:") == 0) {
      const size_t close = pattern.find(":]", at + 2);
      if (close != kNone) {
        const std::optional<bool> in = InClass(pattern.substr(at + 2, close - at - 2), c);
        valid = valid && in.has_value();
        found = found || in.value_or(false);
        at = close + 2;
        continue;
      }
    }
    unsigned char low = 0;
    unsigned char high = 0;
    if ((at = ReadByte(pattern, at, low)) == kNone)
      return kNone;
    high = low;
    if (at + 1 < pattern.size() && pattern[at] == '-' && pattern[at + 1] != ']' &&
        (at = ReadByte(pattern, at + 1, high)) == kNone)
      return kNone;
    found = found || (low <= c && c <= high);
  }
  if (at >= pattern.size())
    return kNone;
  // A class that doesn't exist makes a set that nothing matches.
  matched = valid && found != negated;
  return at + 1;
}

// Matches one byte of the name against the pattern's element at `at`,
// setting `next` past the element.
Step MatchElement(std::string_view pattern, size_t at, unsigned char c, size_t& next) {
  if (at == pattern.size())
    return Step::Differs;
  if (pattern[at] == '?') {
    next = at + 1;
    return Step::Matches;
  }
  unsigned char byte = '[';
  if (pattern[at] == '[') {
    bool matched = false;
    next = ReadSet(pattern, at, c, matched);
    if (next != kNone)
      return matched ? Step::Matches : Step::Differs;
    next = at + 1;
  } else {
    next = ReadByte(pattern, at, byte);
  }
  if (next == kNone)
    return Step::Broken;
  return byte == c ? Step::Matches : Step::Differs;
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
    const Step step = MatchElement(pattern, at, static_cast<unsigned char>(name[n]), next);
    if (step == Step::Matches) {
      at = next;
      ++n;
    } else if (step == Step::Broken || starAt == kNone) {
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
