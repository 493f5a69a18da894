// Every option of the option table is described where a user looks for it: the man page, the README and the bash
// completion.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "app/options.h"
#include "support/temp_folder.h"

namespace {

// The option names of the table; a listed row may name several, ", " apart.
std::set<std::string> OptionNames() {
  std::set<std::string> names;
  const std::regex comma(", ");
  for (const OptionEntry& row : OptionRows()) {
    const std::string name = row.name ? row.name : "";
    names.insert(std::sregex_token_iterator(name.begin(), name.end(), comma, -1), std::sregex_token_iterator());
  }
  return names;
}

TEST(Documents, EveryOptionIsInTheManPageTheReadmeAndTheCompletion) {
  const std::set<std::string> names = OptionNames();
  for (const char* path : {HEXLOOM_MAN_PAGE, HEXLOOM_README, HEXLOOM_COMPLETION}) {
    // roff writes a minus sign as "\-".
    const std::string text = std::regex_replace(Slurp(path), std::regex(R"(\\-)"), "-");
    for (const std::string& name : names) {
      // A word of its own: "-bw" is not found in "-bwns", nor "-md5" in "-cpp_md5".
      EXPECT_TRUE(std::regex_search(text, std::regex("(^|[^-\\w])" + name + "($|[^-\\w])")))
          << name << " is missing from " << path;
    }
  }
}

}  // namespace
