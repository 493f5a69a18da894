// Every option of the option table is described where a user looks for it: the usage text, the man page, the
// options page and the bash completion; every error message is in the man page; the pages' links lead somewhere.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "app/options.h"
#include "support/temp_folder.h"

namespace {

const std::filesystem::path kRoot = std::filesystem::path(HEXLOOM_SOURCE_DIR).lexically_normal();

TEST(Documents, EveryOptionIsInTheUsageTheManPageTheOptionsPageAndTheCompletion) {
  // The option names of the table; a listed row may name several, ", " apart.
  std::set<std::string> names;
  const std::regex comma(", ");
  for (const OptionEntry& row : OptionRows()) {
    const std::string name = row.name ? row.name : "";
    names.insert(std::sregex_token_iterator(name.begin(), name.end(), comma, -1), std::sregex_token_iterator());
  }
  for (const char* page : {"tests/data/usage.txt", "man/hexloom.1", "docs/options.md", "completion/hexloom.bash"}) {
    // roff writes a minus sign as "\-".
    const std::string text = std::regex_replace(Slurp((kRoot / page).string()), std::regex(R"(\\-)"), "-");
    const bool usage = page[0] == 't';
    for (const std::string& name : names) {
      // A word of its own: "-bw" is not found in "-bwns", nor "-md5" in "-cpp_md5". The usage text lists the row
      // widths as numbers: "-8 : 8, 16 (default), 32, ...".
      const std::string word =
          usage && std::isdigit(static_cast<unsigned char>(name[1])) ? "-?" + name.substr(1) : name;
      EXPECT_TRUE(std::regex_search(text, std::regex("(^|[^-\\w])" + word + "($|[^-\\w])")))
          << name << " is missing from " << page;
    }
  }
}

// Every " [ERROR] " description that the program prints, found in its sources, is explained in the man page.
TEST(Documents, EveryErrorMessageIsInTheManPage) {
  const std::string manPage = std::regex_replace(Slurp((kRoot / "man/hexloom.1").string()), std::regex(R"(\\-)"), "-");
  const std::regex reported(R"re(ReportError\(\s*"([^"]+)")re");
  size_t found = 0;
  for (const char* layer : {"app", "convert"}) {
    for (const auto& file : std::filesystem::directory_iterator(kRoot / layer)) {
      const std::string source = Slurp(file.path().string());
      for (std::sregex_iterator it(source.begin(), source.end(), reported), end; it != end; ++it, ++found)
        EXPECT_NE(manPage.find(".B " + (*it)[1].str()), std::string::npos) << (*it)[1] << " in " << file.path();
    }
  }
  EXPECT_GE(found, 6u);
}

// The anchor a code host gives a heading: lowercased, a space made '-', other punctuation dropped.
std::string Anchor(const std::string& heading) {
  std::string anchor;
  for (const unsigned char c : heading) {
    if (std::isalnum(c) || c == '-' || c == '_' || c >= 0x80)
      anchor += static_cast<char>(std::tolower(c));
    if (c == ' ')
      anchor += '-';
  }
  return anchor;
}

TEST(Documents, EveryLinkOfTheReadmeAndTheGuideLeadsToAFileAndAHeading) {
  const std::filesystem::path readme = kRoot / "README.md";
  std::map<std::filesystem::path, std::string> texts = {{readme, Slurp(readme.string())}};
  for (const auto& file : std::filesystem::directory_iterator(kRoot / "docs"))
    texts[file.path()] = Slurp(file.path().string());
  std::map<std::filesystem::path, std::set<std::string>> anchors;
  const std::regex heading(R"((^|\n)#+ ([^\n]+))");
  for (const auto& [page, text] : texts) {
    for (std::sregex_iterator it(text.begin(), text.end(), heading), end; it != end; ++it)
      anchors[page].insert(Anchor((*it)[2]));
  }
  // A relative link, "#anchor" optional; addresses with a scheme lead outside.
  const std::regex link(R"(\]\(([^):#\s]*)(#[^)\s]*)?\))");
  std::set<std::filesystem::path> linked = {readme};
  for (const auto& [page, text] : texts) {
    for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
      const std::filesystem::path target =
          (*it)[1].length() ? (page.parent_path() / (*it)[1].str()).lexically_normal() : page;
      linked.insert(target);
      EXPECT_TRUE(std::filesystem::exists(target)) << (*it)[0] << " in " << page;
      EXPECT_TRUE(!(*it)[2].matched || anchors[target].count((*it)[2].str().substr(1))) << (*it)[0] << " in " << page;
    }
  }
  for (const auto& [page, text] : texts)
    EXPECT_TRUE(linked.count(page)) << page << " has no link to it";
}

}  // namespace
