// Every option of the option table is described where a user looks for it:
// the man page, the README and the bash completion.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "app/options.h"

namespace {

std::string ReadText(const char* path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// roff writes a minus sign as "\-".
std::string PlainRoff(std::string text) {
  for (size_t at = 0; (at = text.find("\\-", at)) != std::string::npos;)
    text.erase(at, 1);
  return text;
}

bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

// Whether the option stands in the text as a word of its own: "-bw" is not
// found in "-bwns", nor "-md5" in "-cpp_md5".
bool MentionsOption(const std::string& text, const std::string& option) {
  for (size_t at = 0; (at = text.find(option, at)) != std::string::npos; ++at) {
    const size_t end = at + option.size();
    if ((at == 0 || !IsNameCharacter(text[at - 1])) && (end == text.size() || !IsNameCharacter(text[end])))
      return true;
  }
  return false;
}

// The option names of the table; a listed row may name several, ", " apart.
std::set<std::string> OptionNames() {
  std::set<std::string> names;
  for (const OptionEntry& row : OptionTable) {
    if (!row.name)
      continue;
    std::string_view rest = row.name;
    while (!rest.empty()) {
      const size_t comma = rest.find(", ");
      names.emplace(rest.substr(0, comma));
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 2);
    }
  }
  return names;
}

TEST(Documents, EveryOptionIsInTheManPageTheReadmeAndTheCompletion) {
  const std::set<std::string> names = OptionNames();
  ASSERT_FALSE(names.empty());
  const std::pair<const char*, std::string> documents[] = {
      {HEXLOOM_MAN_PAGE, PlainRoff(ReadText(HEXLOOM_MAN_PAGE))},
      {HEXLOOM_README, ReadText(HEXLOOM_README)},
      {HEXLOOM_COMPLETION, ReadText(HEXLOOM_COMPLETION)},
  };
  for (const auto& [path, text] : documents) {
    ASSERT_FALSE(text.empty()) << path;
    for (const std::string& name : names)
      EXPECT_TRUE(MentionsOption(text, name)) << name << " is missing from " << path;
  }
}

}  // namespace
