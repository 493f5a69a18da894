// Catalogue keys and -prefix values against the documented rule, -exclude patterns against fnmatch(), and the
// dependency file read back as Ninja 1.11 and GNU Make 4.3 read it.
#include <fnmatch.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "codegen/depfile_text.h"
#include "convert/catalogue.h"
#include "convert/conversion.h"
#include "convert/name_pattern.h"
#include "fuzz/fuzz_check.h"
#include "support/capture.h"

namespace {

std::string Slashed(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

// The documented rule: a key is the path as written, "\" made "/" and leading "./" dropped; one that is absolute,
// starts with a drive letter or has a ".." part names the machine's folders, and an empty one the current folder.
bool NamesTheMachinesFolders(const std::string& key) {
  return key.empty() || key.starts_with('/') ||
         (key.size() >= 2 && std::isalpha(static_cast<unsigned char>(key[0])) && key[1] == ':') ||
         std::ranges::count(Split(key, '/'), "..") > 0;
}

void CheckKey(const std::string& input, const std::string& prefixValue) {
  ConversionSettings settings;
  settings.intoCatalogue = true;
  std::string key = Slashed(input);
  while (key.starts_with("./"))
    key.erase(0, 2);
  Check(CataloguePathOf(input, std::nullopt) == key, "key differs");
  Check(MayCatalogue(input, settings) == !NamesTheMachinesFolders(key), "key refused or taken against the rule");

  const std::string prefix = Slashed(prefixValue);
  const bool fine = prefix.empty() || std::ranges::none_of(Split(prefix, '/'), [](const std::string& part) {
                      return part.empty() || part == "." || part == "..";
                    });
  Check(CataloguePrefixOf(prefixValue) == (fine ? std::optional(prefix) : std::nullopt), "prefix against the rule");
  if (fine && !NamesTheMachinesFolders(key))
    Check(CataloguePathOf(input, std::nullopt, prefix) == (prefix.empty() ? key : prefix + "/" + key),
          "prefixed key differs");
}

void CheckPattern(const std::string& pattern, const std::string& name) {
  // glibc gives up on a set left open after a range's "-" ("[a-", "[]-"), where POSIX and the product take the "["
  // as itself.
  const bool glibcGivesUp = pattern.ends_with('-') && pattern.find('[') != std::string::npos;
  Check(MatchesPattern(pattern, name) == (fnmatch(pattern.c_str(), name.c_str(), 0) == 0) || glibcGivesUp,
        "pattern differs from fnmatch()");
}

// Reads the file as Ninja 1.11 (src/depfile_parser.in.cc) and GNU Make 4.3 both read it, failing on anything that
// they read apart; returns the names of each line, "" standing for the rule's colon.
std::vector<std::vector<std::string>> ReadDepfileLines(const std::string& text) {
  const std::string plain = "+,/_.~()}{@[]!-$:";  // besides letters, digits and bytes above 0x7F
  std::vector<std::vector<std::string>> lines(1);
  std::string name;
  const auto at = [&](size_t i) { return i < text.size() ? text[i] : '\n'; };
  const auto end = [&](bool lineEnds) {
    const bool colon = name.ends_with(':');
    if (colon)
      name.pop_back();
    const size_t open = name.find('(');
    Check(!name.starts_with('~'), "depfile: Make reads a leading ~ as a home folder");
    Check(name.find(']', name.find('[')) == std::string::npos, "depfile: Make reads [...] as a wildcard");
    Check(open == std::string::npos || open == 0 || !name.ends_with(')') || open + 2 == name.size(),
          "depfile: Make reads a(b) as an archive member");
    if (!name.empty())
      lines.back().push_back(name);
    if (colon)
      lines.back().push_back("");
    if (lineEnds)
      lines.emplace_back();
    name.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\') {
      const size_t k = std::min(text.find_first_not_of('\\', i), text.size()) - i;
      const char next = at(i + k);
      i += k;
      if (next == ' ') {
        Check(k % 2 == 1, "depfile: an even run of backslashes before a space");
        name.append(k / 2, '\\') += ' ';
      } else if (next == '\n') {
        Check(k == 1, "depfile: backslashes at the end of a line");
        end(false);
      } else if (next == '#' || next == ':') {
        Check(k == 1, "depfile: backslashes before # or :");
        Check(next == '#' || (at(i + 1) != ' ' && at(i + 1) != '\n'), "depfile: Ninja reads \\: before a blank as \\");
        name += next;
      } else {
        Check(std::string("$%=").find(next) == std::string::npos, "depfile: backslashes before $, % or =");
        name.append(k, '\\') += next;
      }
    } else if (c == ' ' || c == '\n') {
      end(c == '\n');
    } else {
      Check(c != '$' || at(++i) == '$', "depfile: a $ without its second");
      Check(c != '=' && c != '%', "depfile: Make reads = as an assignment and % as a pattern");
      Check(c != ':' || at(i + 1) == ' ' || at(i + 1) == '\n', "depfile: a bare : inside a name");
      Check(std::isalnum(static_cast<unsigned char>(c)) || plain.find(c) != std::string::npos ||
                static_cast<unsigned char>(c) >= 0x80,
            "depfile: Ninja ends a name at this byte");
      name += c;
    }
  }
  end(false);
  return lines;
}

void CheckDepfile(const std::vector<std::string>& paths, size_t targetCount) {
  std::vector<std::string> targets, prerequisites;
  // The run names each path once, never an empty one, and refuses a depfile of one it can't write.
  for (const std::string& path : paths)
    if (!path.empty() && CanWriteDepfilePath(path) &&
        std::ranges::count(targets, path) + std::ranges::count(prerequisites, path) == 0)
      (targets.size() < targetCount ? targets : prerequisites).push_back(path);
  const std::string text = BuildDepfileText(targets, prerequisites);
  if (targets.empty())
    return Check(text.empty(), "a depfile without targets");
  std::vector<std::vector<std::string>> expected{targets};
  expected[0].push_back("");
  expected[0].insert(expected[0].end(), prerequisites.begin(), prerequisites.end());
  for (const std::string& prerequisite : prerequisites)
    expected.push_back({prerequisite, ""});
  expected.emplace_back();
  Check(ReadDepfileLines(text) == expected, "depfile read back differs");
}

}  // namespace

// The first byte picks a check; the rest is split on zero bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr int kChecks = 3, kMostTargets = 4;
  if (size == 0)
    return 0;
  const std::vector<std::string> parts = Split(std::string(data + 1, data + size), '\0');
  const auto part = [&](size_t i) { return i < parts.size() ? parts[i] : std::string(); };
  // What refused keys report is dropped.
  CaptureConsole([&] {
    switch (data[0] % kChecks) {
      case 0: CheckKey(part(0), part(1)); break;
      case 1: CheckPattern(part(0), part(1)); break;
      default: CheckDepfile(parts, data[0] / kChecks % kMostTargets); break;
    }
  });
  return 0;
}
