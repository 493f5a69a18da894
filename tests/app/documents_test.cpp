// Every option of the option table is described where a user looks for it: the man page, the README and the bash
// completion.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "app/options.h"
#include "support/temp_folder.h"

namespace {

TEST(Documents, EveryOptionIsInTheManPageTheReadmeAndTheCompletion) {
  // The option names of the table; a listed row may name several, ", " apart.
  std::set<std::string> names;
  const std::regex comma(", ");
  for (const OptionEntry& row : OptionRows()) {
    const std::string name = row.name ? row.name : "";
    names.insert(std::sregex_token_iterator(name.begin(), name.end(), comma, -1), std::sregex_token_iterator());
  }
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

// Every " [ERROR] " description that the program prints, found in its sources, is explained in the man page.
TEST(Documents, EveryErrorMessageIsInTheManPage) {
  const std::string manPage = std::regex_replace(Slurp(HEXLOOM_MAN_PAGE), std::regex(R"(\\-)"), "-");
  const std::regex reported(R"re(ReportError\(\s*"([^"]+)")re");
  size_t found = 0;
  for (const char* layer : {"app", "convert"}) {
    for (const auto& file : std::filesystem::directory_iterator(std::string(HEXLOOM_SOURCE_DIR) + "/" + layer)) {
      const std::string source = Slurp(file.path().string());
      for (std::sregex_iterator it(source.begin(), source.end(), reported), end; it != end; ++it, ++found)
        EXPECT_NE(manPage.find(".B " + (*it)[1].str()), std::string::npos) << (*it)[1] << " in " << file.path();
    }
  }
  EXPECT_GE(found, 6u);
}

}  // namespace
